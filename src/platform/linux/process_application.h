// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelo::desktop {

// The desktop file id ("org.gnome.TextEditor") that a process's control group names, from the text of
// /proc/PID/cgroup. GNOME and KDE start each application in a systemd unit named after it:
// app[-LAUNCHER]-ID[@RANDOM].service, app[-LAUNCHER]-ID-RANDOM.scope or app[-LAUNCHER]-ID.slice, with
// each "-" of the id written "\x2d". None when no unit of the path is named so.
std::optional<std::string> desktopIdOfControlGroup(std::string_view cgroup);

// The identifier of the application process `pid` belongs to, as the X11 desktop names the same
// application (so that one list of excluded applications serves both): the StartupWMClass of its
// desktop file, else for a Qt application its program's name (Qt's WM_CLASS), else the desktop file
// id (GTK's application id), else the program's name. None when the process is gone or not ours.
std::optional<std::string> processApplicationIdentifier(int pid);

}  // namespace tarvelo::desktop
