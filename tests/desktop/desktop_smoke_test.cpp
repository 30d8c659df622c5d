#include <cstdlib>

#include <gtest/gtest.h>

#include "desktop_environment.h"

namespace tarvelo::desktop {
namespace {

TEST(DesktopSession, HasADisplayAndASessionBus) {
    TARVELO_REQUIRE_DESKTOP();
    EXPECT_NE(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr);
}

}  // namespace
}  // namespace tarvelo::desktop
