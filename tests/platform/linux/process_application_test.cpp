// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/process_application.h"

#include <unistd.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

TEST(ProcessApplicationTest, TheControlGroupNamesTheApplicationsDesktopFile) {
    const std::string user = "0::/user.slice/user-1000.slice/user@1000.service/app.slice/";
    struct Case {
        std::string cgroup;
        std::optional<std::string> desktopId;
    };
    const Case cases[] = {
        {user + "app-gnome-org.gnome.TextEditor-4321.scope\n", "org.gnome.TextEditor"},
        {user + "app-org.kde.konsole@8a3f0c.service\n", "org.kde.konsole"},
        {user + "app-flatpak-org.mozilla.firefox-2210.scope\n", "org.mozilla.firefox"},
        {user + "app-gnome-jetbrains\\x2dpycharm-77.scope\n", "jetbrains-pycharm"},
        // A unit of the application's own inside its slice: the slice names it.
        {user + "app-org.gnome.Terminal.slice/gnome-terminal-server.service\n", "org.gnome.Terminal"},
        // The older hierarchies come first; the unified one is the last line.
        {"12:pids:/user.slice\n0::" + user.substr(3) + "app-code-1200.scope\n", "code"},
        // Not an application's unit.
        {"0::/user.slice/user-1000.slice/session-2.scope\n", std::nullopt},
        {user + "dbus.service\n", std::nullopt},
        {"0::/\n", std::nullopt},
        {user + "app-1234.scope\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cgroup);
        EXPECT_EQ(desktopIdOfControlGroup(c.cgroup), c.desktopId);
    }
}

TEST(ProcessApplicationTest, AProcessOutsideAnApplicationsUnitIsNamedByItsProgram) {
    std::ifstream file("/proc/self/cgroup");
    std::ostringstream cgroup;
    cgroup << file.rdbuf();
    if (desktopIdOfControlGroup(cgroup.str())) GTEST_SKIP() << "the tests run inside an application's unit";
    EXPECT_EQ(processApplicationIdentifier(static_cast<int>(getpid())), "tarvelo_linux_tests");
    // A process that is not there is no application.
    EXPECT_EQ(processApplicationIdentifier(0), std::nullopt);
}

}  // namespace
}  // namespace tarvelo::desktop
