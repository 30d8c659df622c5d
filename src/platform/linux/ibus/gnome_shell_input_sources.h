// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/linux/glib_scheduler.h"
#include "platform/linux/ibus/gnome_input_source_switch.h"

struct _GSettings;
struct _IBusBus;

namespace tarvelo::desktop {

// GNOME Shell's input sources as another program can change them: through org.gnome.desktop.input-sources,
// which the shell follows, and IBus's engine changes, which tell when it has (GnomeInputSourceSwitch says
// how). The same on GNOME's Wayland and X11 sessions. Called on the main thread.
class GnomeShellInputSources {
public:
    // None outside a GNOME session (XDG_CURRENT_DESKTOP) or without the settings schema. `bus` is the
    // process's IBus connection, which the object keeps a reference to.
    static std::unique_ptr<GnomeShellInputSources> open(_IBusBus* bus);
    // A switch under way ends with the user's sources back.
    ~GnomeShellInputSources();
    GnomeShellInputSources(const GnomeShellInputSources&) = delete;
    GnomeShellInputSources& operator=(const GnomeShellInputSources&) = delete;

    // Has the shell switch to the source of IBus engine `engine` (a moment later, not within the call).
    // False when the user's sources do not list it or the settings refuse the change.
    bool select(const std::string& engine);

private:
    GnomeShellInputSources(_IBusBus* bus, _GSettings* settings);

    _IBusBus* bus_;
    std::unique_ptr<_GSettings, void (*)(void*)> settings_;
    GlibScheduler scheduler_;
    GnomeInputSourceSwitch switch_;
};

}  // namespace tarvelo::desktop
