// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "keyboard.h"

// The headless KWin, with fcitx5 as its input method, that scripts/kde-session starts around a test
// program.
namespace tarvelo::kde::testing {

// True inside scripts/kde-session.
inline bool inKdeSession() {
    const char* session = std::getenv("TARVELO_KDE_SESSION");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return session != nullptr && std::string(session) == "1" && display != nullptr && *display != '\0';
}

// Skips the test outside scripts/kde-session, unless the run requires a desktop (scripts/test sets
// TARVELO_REQUIRE_DESKTOP=1, so that CI can never pass by skipping).
#define TARVELO_REQUIRE_KDE_SESSION()                                                                 \
    do {                                                                                              \
        if (!::tarvelo::kde::testing::inKdeSession()) {                                               \
            const char* required = std::getenv("TARVELO_REQUIRE_DESKTOP");                            \
            if (required != nullptr && std::string(required) == "1") FAIL() << "no KDE session";      \
            GTEST_SKIP() << "no KDE session: run under scripts/kde-session";                          \
        }                                                                                             \
    } while (false)

// fcitx5's input methods in the session's group: keyboard-us first, keyboard-ru second.
inline constexpr const char* kEnglish = "keyboard-us";
inline constexpr const char* kRussian = "keyboard-ru";

// The input method fcitx5 has current (fcitx5-remote -n), or "" when it cannot tell.
std::string currentInputMethod();

// Makes `name` fcitx5's current input method (fcitx5-remote -s) and waits until fcitx5 says so, and a
// moment more for KWin to have the keymap fcitx5 gives it; false with the reason in `failure`.
bool selectInputMethod(const std::string& name, std::string& failure);

// Presses Ctrl+Space, the session's fcitx5 trigger key, which switches between keyboard-us and
// keyboard-ru, and waits as selectInputMethod does until `expected` is current; false with the reason
// in `failure` when it does not become so.
bool switchInputMethod(wayland::testing::Keyboard& keyboard, const std::string& expected, std::string& failure);

// The build's Tarvelo with its fcitx5 backend, running in the session as the test's own child (on KDE
// nothing starts it for the test, unlike IBus on GNOME): fcitx5's Tarvelo module finds it on the
// session bus whenever it appears. It gets the session's fresh configuration, the welcome marked done.
class TarveloProcess {
public:
    // Starts `program --fcitx5` and waits until it owns its name on the session bus; nullptr with the
    // reason in `failure` when it cannot be run or does not get there in time.
    static std::unique_ptr<TarveloProcess> start(const std::string& program, std::string& failure);

    // Ends the program and waits for it.
    ~TarveloProcess();
    TarveloProcess(const TarveloProcess&) = delete;
    TarveloProcess& operator=(const TarveloProcess&) = delete;

private:
    explicit TarveloProcess(pid_t pid) : pid_(pid) {}

    pid_t pid_;
};

// The first word corrected in each layout has Tarvelo load what it loads on first use, and the call for
// its delimiter can take longer than fcitx5's module waits (100 ms), after which the module lets keys
// pass for 3 s: types a word per layout, each in a Qt field of its own, until one is corrected. False
// with the reason in `failure` when none is.
bool warmUpTarvelo(wayland::testing::Keyboard& keyboard, std::string& failure);

}  // namespace tarvelo::kde::testing
