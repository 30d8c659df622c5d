// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "keyboard.h"

// The headless GNOME Shell that scripts/gnome-session starts around a Wayland test program.
namespace tarvelo::wayland::testing {

// True inside scripts/gnome-session.
inline bool inGnomeSession() {
    const char* session = std::getenv("TARVELO_GNOME_SESSION");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return session != nullptr && std::string(session) == "1" && display != nullptr && *display != '\0';
}

// Skips the test outside scripts/gnome-session, unless the run requires a desktop (scripts/test sets
// TARVELO_REQUIRE_DESKTOP=1, so that CI can never pass by skipping).
#define TARVELO_REQUIRE_GNOME_SESSION()                                                               \
    do {                                                                                              \
        if (!::tarvelo::wayland::testing::inGnomeSession()) {                                         \
            const char* required = std::getenv("TARVELO_REQUIRE_DESKTOP");                            \
            if (required != nullptr && std::string(required) == "1") FAIL() << "no GNOME session";    \
            GTEST_SKIP() << "no GNOME session: run under scripts/gnome-session";                      \
        }                                                                                             \
    } while (false)

// An input source as GNOME names it: ("ibus", ENGINE) or ("xkb", LAYOUT).
using InputSource = std::pair<std::string, std::string>;

// Makes `sources` the session's input sources (org.gnome.desktop.input-sources), the first one active,
// and waits until the shell has handed the first one to IBus (for an IBus source) and a moment more for
// its keymap; false with the reason in `failure` when that does not happen in time.
bool selectInputSources(const std::vector<InputSource>& sources, std::string& failure);

// Presses Super+Space, the shell's shortcut to the next input source, and waits as selectInputSources
// does until IBus has `engine`; false with the reason in `failure` when it does not.
bool switchInputSource(Keyboard& keyboard, const std::string& engine, std::string& failure);

// Readies the session for Tarvelo's engines before one is selected (IBus then starts the program the
// build's component names, found through IBUS_COMPONENT_PATH): checks that the session's user can run
// that program, and marks the welcome done in the session's fresh configuration so that no window takes
// the focus from the fields. False with the reason in `failure`.
// `switchedOn` names boolean settings of Tarvelo's to turn on as well ("settings.…").
bool prepareTarveloEngines(std::string& failure, const std::vector<std::string>& switchedOn = {});

// The session's input sources as org.gnome.desktop.input-sources lists them now.
std::vector<InputSource> inputSources();

// Waits until IBus has `engine` and a moment more for the shell's keymap, as selectInputSources does;
// false with the reason in `failure` when that does not happen in time.
bool waitForIbusEngine(const std::string& engine, std::string& failure);

// The IBus engine the session's ibus-daemon has active, or "" when it cannot tell.
std::string activeIbusEngine();

}  // namespace tarvelo::wayland::testing
