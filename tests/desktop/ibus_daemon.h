// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glib.h>

#include <string>

namespace tarvelo::desktop::testing {

// An ibus-daemon of the test's own on the session's display (no panel, no emoji extension, settings in
// memory), that finds the build's IBus component, and the environment that makes GTK and Qt programs
// started afterwards talk to it: configuration and cache folders of its own (where the daemon writes
// its address), GTK_IM_MODULE and QT_IM_MODULE. Must be made before anything in the process asks GLib
// for those folders, so once per process. Ends the daemon when destroyed.
class IbusDaemon {
public:
    // `componentPath` is where it looks for components: the build's own by default.
    explicit IbusDaemon(const std::string& componentPath = TARVELO_IBUS_COMPONENT_DIR);
    ~IbusDaemon();
    IbusDaemon(const IbusDaemon&) = delete;
    IbusDaemon& operator=(const IbusDaemon&) = delete;

    // Empty when the daemon runs and this process is connected to it; else why not.
    const std::string& failure() const { return failure_; }
    // The configuration folder of the programs started from now on.
    const std::string& configHome() const { return configHome_; }

    // Ends the daemon and starts it again, as `ibus restart` does; false when it does not come back.
    bool restart();

    // Makes `engine` IBus's current one, running the main loop meanwhile (the daemon may ask this very
    // process for it); false when IBus refuses or does not answer.
    static bool selectEngine(const char* engine);

private:
    // Starts the daemon and waits until this process is connected to it; else says why in failure_.
    void start();
    void stop();

    GPid pid_ = 0;
    std::string configHome_;
    std::string failure_;
};

}  // namespace tarvelo::desktop::testing
