// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/hot_key_manager.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_login_items.h"
#include "platform/fake/fake_notification_center.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/memory_defaults_store.h"

namespace tarvelo {
namespace {

struct HotKeyFixture : ::testing::Test {
    MemoryDefaultsStore store;
    ManualClock clock;
    FakeLoginItems loginItems;
    FakeNotificationCenter notifications;
    SettingsManager settings{store, clock, loginItems, notifications};
    HotKeyManager hotkeys{settings};
};

TEST_F(HotKeyFixture, ListsTheTwoShortcutsByTheirRawValues) {
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

TEST_F(HotKeyFixture, RefusesChordsThatAreNoShortcutOrAreTakenAndKeepsTheOldOne) {
    constexpr std::uint64_t kCtrl = modifier_flag::kCommand;
    constexpr std::uint64_t kAlt = modifier_flag::kOption;
    const struct {
        KeyChord chord;
        ChordRefusal refusal;
    } refused[] = {
        {{virtual_key::kSpace, modifier_flag::kShift}, ChordRefusal::needsModifier},
        {{virtual_key::kDelete, kCtrl}, ChordRefusal::unknownKey},
        {{virtual_key::kZ, kCtrl}, ChordRefusal::undoChord},
        {{virtual_key::kSpace, kCtrl | kAlt}, ChordRefusal::otherShortcut},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(hotkeys.setChord(Shortcut::convertSelection, c.chord), c.refusal) << key_chord::format(c.chord);
        EXPECT_EQ(hotkeys.chord(Shortcut::convertSelection).get(), HotKeyManager::defaultChord(Shortcut::convertSelection));
    }
    // Its own chord is no conflict; the other shortcut's old chord is free once it has moved.
    EXPECT_FALSE(hotkeys.setChord(Shortcut::convertSelection, {virtual_key::kSpace, kAlt}));
    EXPECT_FALSE(hotkeys.setChord(Shortcut::convertLastWord, {virtual_key::kSpace, kCtrl | modifier_flag::kShift}));
    EXPECT_FALSE(hotkeys.setChord(Shortcut::convertSelection, {virtual_key::kSpace, kCtrl | kAlt}));
    EXPECT_EQ(settings.convertSelectionChord.get(), (KeyChord{virtual_key::kSpace, kCtrl | kAlt}));

    // The default is taken now, so it cannot come back until the other shortcut lets it go.
    EXPECT_EQ(hotkeys.resetChord(Shortcut::convertLastWord), ChordRefusal::otherShortcut);
    EXPECT_FALSE(hotkeys.resetChord(Shortcut::convertSelection));
    EXPECT_FALSE(hotkeys.resetChord(Shortcut::convertLastWord));
    EXPECT_TRUE(store.stored().empty());
}

}  // namespace
}  // namespace tarvelo
