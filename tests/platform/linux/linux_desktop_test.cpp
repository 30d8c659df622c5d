// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/linux_desktop.h"

#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

// Sets or unsets an environment variable for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(LinuxDesktop, RecognisesAWaylandSession) {
    struct Case {
        const char* sessionType;
        const char* waylandDisplay;
        bool wayland;
    };
    const Case cases[] = {
        {"x11", nullptr, false},        {nullptr, nullptr, false},     {"wayland", nullptr, true},
        {"x11", "wayland-0", true},     {nullptr, "wayland-0", true},  {"tty", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sessionType ? c.sessionType : "(unset)") + " / " +
                     (c.waylandDisplay ? c.waylandDisplay : "(unset)"));
        const ScopedEnvironment type("XDG_SESSION_TYPE", c.sessionType);
        const ScopedEnvironment display("WAYLAND_DISPLAY", c.waylandDisplay);
        EXPECT_EQ(LinuxDesktop::isWaylandSession(), c.wayland);
    }
}

}  // namespace
}  // namespace tarvelo::desktop
