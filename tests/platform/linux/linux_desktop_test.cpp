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

TEST(LinuxDesktop, Fcitx5IsChosenWhenAskedForOrNamedByTheSession) {
    EXPECT_EQ(LinuxDesktop::backendForSession(false, true), KeyboardBackend::fcitx5);
    EXPECT_EQ(LinuxDesktop::backendForSession(true, true), KeyboardBackend::fcitx5);
    struct Case {
        const char* xmodifiers;
        const char* gtkModule;
        const char* qtModule;
        bool fcitx;
    };
    const Case cases[] = {
        {"@im=fcitx", nullptr, nullptr, true},
        {nullptr, "fcitx", nullptr, true},
        {nullptr, nullptr, "fcitx5", true},
        {"@im=ibus", "ibus", "ibus", false},
        {nullptr, nullptr, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xmodifiers ? c.xmodifiers : "-") + " " + (c.gtkModule ? c.gtkModule : "-") + " " +
                     (c.qtModule ? c.qtModule : "-"));
        const ScopedEnvironment xmodifiers("XMODIFIERS", c.xmodifiers);
        const ScopedEnvironment gtk("GTK_IM_MODULE", c.gtkModule);
        const ScopedEnvironment qt("QT_IM_MODULE", c.qtModule);
        EXPECT_EQ(LinuxDesktop::sessionNamesFcitx(), c.fcitx);
    }
    // Named by the session, fcitx5 wins over a Wayland session's IBus default (no Tarvelo engine is
    // IBus's current one here: no daemon runs for these tests).
    const ScopedEnvironment xmodifiers("XMODIFIERS", "@im=fcitx");
    const ScopedEnvironment wayland("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_EQ(LinuxDesktop::backendForSession(false), KeyboardBackend::fcitx5);
}

}  // namespace
}  // namespace tarvelo::desktop
