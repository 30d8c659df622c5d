// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/hot_key_manager.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(HotKeyManager, ListsTheTwoShortcutsByTheirRawValues) {
    const HotKeyManager hotkeys;
    ASSERT_EQ(hotkeys.shortcuts().size(), 2u);
    EXPECT_EQ(title(hotkeys.shortcuts()[0]), "Convert Selected Text");
    EXPECT_EQ(keyLabel(hotkeys.shortcuts()[0], KeyLabels::mac()), "\u2325 Space");
    EXPECT_EQ(keyLabel(hotkeys.shortcuts()[0], KeyLabels::pc()), "Alt+Space");
    EXPECT_EQ(title(hotkeys.shortcuts()[1]), "Convert Last Word");
    EXPECT_EQ(keyLabel(hotkeys.shortcuts()[1], KeyLabels::mac()), "\u2325\u2318 Space");
    EXPECT_EQ(keyLabel(hotkeys.shortcuts()[1], KeyLabels::pc()), "Ctrl+Alt+Space");

    for (const Shortcut shortcut : kAllShortcuts) EXPECT_EQ(shortcutFromRawValue(rawValue(shortcut)), shortcut);
    for (const char* raw : {"ConvertSelection", "convertlastword", "", "convertSelection "}) {
        EXPECT_FALSE(shortcutFromRawValue(raw)) << raw;
    }
}

}  // namespace
}  // namespace tarvelo
