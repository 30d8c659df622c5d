// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/x11/x11_display.h"
#include "platform/workspace.h"

namespace tarvelo::desktop {

// The applications of the X11 desktop. The application in front is the one whose top-level window is
// active: the window manager's _NET_ACTIVE_WINDOW on the root window, or without a window manager the
// top-level window (a child of the root) that holds the input focus. Its identifier is the window's
// _GTK_APPLICATION_ID when it has one, else the class part of WM_CLASS ("Gnome-terminal", "firefox").
// A display of nullptr knows no application; addresses open through GIO's default handlers either way.
class X11Workspace final : public Workspace {
public:
    explicit X11Workspace(X11Display* display) : display_(display) {}

    std::optional<std::string> frontmostApplicationIdentifier() override;
    bool open(std::string_view address) override;

private:
    unsigned long activeTopLevelWindow();

    X11Display* display_;
};

}  // namespace tarvelo::desktop
