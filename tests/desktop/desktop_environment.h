// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glib.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

// What every desktop test needs: a display to run on, and a way to let the main loop run.
namespace tarvelo::desktop::testing {

// Skips the test when there is no display, unless the run requires one (scripts/test sets
// TARVELO_REQUIRE_DESKTOP=1, so that CI can never pass by skipping).
#define TARVELO_REQUIRE_DESKTOP()                                                                     \
    do {                                                                                              \
        const char* display = std::getenv("DISPLAY");                                                 \
        if (display == nullptr || *display == '\0') {                                                 \
            const char* required = std::getenv("TARVELO_REQUIRE_DESKTOP");                            \
            if (required != nullptr && std::string(required) == "1") FAIL() << "no DISPLAY";          \
            GTEST_SKIP() << "no DISPLAY: run under scripts/desktop-session";                          \
        }                                                                                             \
    } while (false)

// Iterates GLib's default main context until `done()` or `seconds` have passed; answers `done()`.
template <typename Done>
bool iterateUntil(Done done, double seconds = 5.0) {
    const gint64 limit = g_get_monotonic_time() + static_cast<gint64>(seconds * G_USEC_PER_SEC);
    while (!done()) {
        if (g_get_monotonic_time() >= limit) return done();
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return true;
}

// Lets the main loop run for `seconds`, for what must happen within a time or not at all.
inline void iterateFor(double seconds) {
    iterateUntil([] { return false; }, seconds);
}

}  // namespace tarvelo::desktop::testing
