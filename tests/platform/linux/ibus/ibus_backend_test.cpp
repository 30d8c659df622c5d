// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/ibus_backend.h"

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

TEST(IbusBackend, EngineNamesAndLayouts) {
    EXPECT_EQ(ibusLayoutOfEngine(ibusEngineName(InputMethodLayout::us)), InputMethodLayout::us);
    EXPECT_EQ(ibusLayoutOfEngine(ibusEngineName(InputMethodLayout::ru)), InputMethodLayout::ru);
    EXPECT_FALSE(ibusLayoutOfEngine("xkb:us::eng"));
}

}  // namespace
}  // namespace tarvelo::desktop
