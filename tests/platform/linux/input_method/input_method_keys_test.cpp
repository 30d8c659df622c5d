// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_method/input_method_keys.h"

#include <xkbcommon/xkbcommon.h>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

// Evdev codes of a few physical keys.
constexpr unsigned kKeyH = 35;
constexpr unsigned kKeyZ = 44;
constexpr unsigned kKeySemicolon = 39;
constexpr unsigned kKeySlash = 53;
constexpr unsigned kKeySpace = 57;
constexpr unsigned kKeyBackspace = 14;
constexpr unsigned kKeyKp1 = 79;

TEST(InputMethodKeys, KeysGiveTheTextOfTheEnginesLayoutWhateverTheClientsKeysym) {
    struct Case {
        unsigned keyval;
        unsigned keycode;
        unsigned state;
        InputMethodLayout layout;
        std::uint16_t virtualKey;
        const char* characters;
    };
    // The client's keymap may be either layout: the keysym is not what decides.
    for (const Case& c : {
             Case{XKB_KEY_h, kKeyH, 0, InputMethodLayout::us, 4, "h"},
             Case{XKB_KEY_h, kKeyH, 0, InputMethodLayout::ru, 4, "р"},
             Case{XKB_KEY_Cyrillic_er, kKeyH, 0, InputMethodLayout::us, 4, "h"},
             Case{XKB_KEY_H, kKeyH, key_state::kShift, InputMethodLayout::ru, 4, "Р"},
             // Caps Lock makes capitals of letters only, and Shift undoes it.
             Case{XKB_KEY_H, kKeyH, key_state::kLock, InputMethodLayout::us, 4, "H"},
             Case{XKB_KEY_h, kKeyH, key_state::kLock | key_state::kShift, InputMethodLayout::ru, 4, "р"},
             Case{XKB_KEY_semicolon, kKeySemicolon, key_state::kLock, InputMethodLayout::us, 41, ";"},
             Case{XKB_KEY_semicolon, kKeySemicolon, key_state::kLock, InputMethodLayout::ru, 41, "Ж"},
             Case{XKB_KEY_slash, kKeySlash, key_state::kShift, InputMethodLayout::ru, 44, ","},
             Case{XKB_KEY_space, kKeySpace, 0, InputMethodLayout::ru, virtual_key::kSpace, " "},
             // A key the table does not know gives its keysym's text.
             Case{XKB_KEY_KP_1, kKeyKp1, key_state::kNumLock, InputMethodLayout::ru, kInputMethodOtherKeyBase + kKeyKp1, "1"},
         }) {
        SCOPED_TRACE(c.characters);
        const std::optional<KeyEventRecord> record = inputMethodKeyRecord(c.keyval, c.keycode, c.state, false, c.layout);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->type, KeyEventRecord::kKeyDown);
        EXPECT_EQ(record->keyCode, c.virtualKey);
        EXPECT_EQ(record->characters, std::optional<std::string>(c.characters));
    }
}

TEST(InputMethodKeys, ModifiersAreTheMonitorsFlagsAndKeysWithoutTextHaveNone) {
    const auto undo = inputMethodKeyRecord(XKB_KEY_z, kKeyZ, key_state::kControl, false, InputMethodLayout::ru);
    ASSERT_TRUE(undo);
    EXPECT_EQ(undo->keyCode, virtual_key::kZ);
    EXPECT_EQ(undo->flags, modifier_flag::kCommand);

    const auto chord = inputMethodKeyRecord(XKB_KEY_space, kKeySpace, key_state::kAlt | key_state::kShift, false, InputMethodLayout::us);
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->keyCode, virtual_key::kSpace);
    EXPECT_EQ(chord->flags, modifier_flag::kOption | modifier_flag::kShift);
    const auto super = inputMethodKeyRecord(XKB_KEY_h, kKeyH, key_state::kSuper | key_state::kMod4, false, InputMethodLayout::us);
    ASSERT_TRUE(super);
    EXPECT_EQ(super->flags, modifier_flag::kControl);

    const auto backspace = inputMethodKeyRecord(XKB_KEY_BackSpace, kKeyBackspace, 0, false, InputMethodLayout::us);
    ASSERT_TRUE(backspace);
    EXPECT_EQ(backspace->keyCode, virtual_key::kDelete);
    EXPECT_FALSE(backspace->characters);

    // Releases and the modifier keys themselves are not keys the monitor is told of.
    EXPECT_FALSE(inputMethodKeyRecord(XKB_KEY_h, kKeyH, 0, true, InputMethodLayout::us));
    EXPECT_FALSE(inputMethodKeyRecord(XKB_KEY_Shift_L, 42, 0, false, InputMethodLayout::us));
    EXPECT_FALSE(inputMethodKeyRecord(XKB_KEY_ISO_Next_Group, 42, key_state::kShift, false, InputMethodLayout::ru));
}

TEST(InputMethodKeys, LayoutNamesAndTheClientsKeysymText) {
    EXPECT_STREQ(inputMethodLayoutName(InputMethodLayout::ru), "ru");
    EXPECT_STREQ(inputMethodLayoutName(InputMethodLayout::us), "us");
    EXPECT_EQ(keysymText(XKB_KEY_Cyrillic_er), "р");
    EXPECT_EQ(keysymText(XKB_KEY_KP_1), "1");
    EXPECT_EQ(keysymText(XKB_KEY_Shift_L), "");
}

}  // namespace
}  // namespace tarvelo::desktop
