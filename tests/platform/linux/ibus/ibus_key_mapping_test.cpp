// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/ibus_key_mapping.h"

#include <ibus.h>

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

TEST(IbusKeyMapping, KeysGiveTheTextOfTheEnginesLayoutWhateverTheClientsKeysym) {
    struct Case {
        unsigned keyval;
        unsigned keycode;
        unsigned state;
        IbusLayout layout;
        std::uint16_t virtualKey;
        const char* characters;
    };
    // The client's keymap may be either layout: the keysym is not what decides.
    for (const Case& c : {
             Case{IBUS_KEY_h, kKeyH, 0, IbusLayout::us, 4, "h"},
             Case{IBUS_KEY_h, kKeyH, 0, IbusLayout::ru, 4, "р"},
             Case{IBUS_KEY_Cyrillic_er, kKeyH, 0, IbusLayout::us, 4, "h"},
             Case{IBUS_KEY_H, kKeyH, IBUS_SHIFT_MASK, IbusLayout::ru, 4, "Р"},
             // Caps Lock makes capitals of letters only, and Shift undoes it.
             Case{IBUS_KEY_H, kKeyH, IBUS_LOCK_MASK, IbusLayout::us, 4, "H"},
             Case{IBUS_KEY_h, kKeyH, IBUS_LOCK_MASK | IBUS_SHIFT_MASK, IbusLayout::ru, 4, "р"},
             Case{IBUS_KEY_semicolon, kKeySemicolon, IBUS_LOCK_MASK, IbusLayout::us, 41, ";"},
             Case{IBUS_KEY_semicolon, kKeySemicolon, IBUS_LOCK_MASK, IbusLayout::ru, 41, "Ж"},
             Case{IBUS_KEY_slash, kKeySlash, IBUS_SHIFT_MASK, IbusLayout::ru, 44, ","},
             Case{IBUS_KEY_space, kKeySpace, 0, IbusLayout::ru, virtual_key::kSpace, " "},
             // A key the table does not know gives its keysym's text.
             Case{IBUS_KEY_KP_1, kKeyKp1, IBUS_MOD2_MASK, IbusLayout::ru, kIbusOtherKeyBase + kKeyKp1, "1"},
         }) {
        SCOPED_TRACE(c.characters);
        const std::optional<KeyEventRecord> record = ibusKeyRecord(c.keyval, c.keycode, c.state, c.layout);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->type, KeyEventRecord::kKeyDown);
        EXPECT_EQ(record->keyCode, c.virtualKey);
        EXPECT_EQ(record->characters, std::optional<std::string>(c.characters));
    }
}

TEST(IbusKeyMapping, ModifiersAreTheMonitorsFlagsAndKeysWithoutTextHaveNone) {
    const auto undo = ibusKeyRecord(IBUS_KEY_z, kKeyZ, IBUS_CONTROL_MASK, IbusLayout::ru);
    ASSERT_TRUE(undo);
    EXPECT_EQ(undo->keyCode, virtual_key::kZ);
    EXPECT_EQ(undo->flags, modifier_flag::kCommand);

    const auto chord = ibusKeyRecord(IBUS_KEY_space, kKeySpace, IBUS_MOD1_MASK | IBUS_SHIFT_MASK, IbusLayout::us);
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->keyCode, virtual_key::kSpace);
    EXPECT_EQ(chord->flags, modifier_flag::kOption | modifier_flag::kShift);
    const auto super = ibusKeyRecord(IBUS_KEY_h, kKeyH, IBUS_SUPER_MASK | IBUS_MOD4_MASK, IbusLayout::us);
    ASSERT_TRUE(super);
    EXPECT_EQ(super->flags, modifier_flag::kControl);

    const auto backspace = ibusKeyRecord(IBUS_KEY_BackSpace, kKeyBackspace, 0, IbusLayout::us);
    ASSERT_TRUE(backspace);
    EXPECT_EQ(backspace->keyCode, virtual_key::kDelete);
    EXPECT_FALSE(backspace->characters);

    // Releases and the modifier keys themselves are not keys the monitor is told of.
    EXPECT_FALSE(ibusKeyRecord(IBUS_KEY_h, kKeyH, IBUS_RELEASE_MASK, IbusLayout::us));
    EXPECT_FALSE(ibusKeyRecord(IBUS_KEY_Shift_L, 42, 0, IbusLayout::us));
    EXPECT_FALSE(ibusKeyRecord(IBUS_KEY_ISO_Next_Group, 42, IBUS_SHIFT_MASK, IbusLayout::ru));
}

TEST(IbusKeyMapping, EngineNamesAndLayouts) {
    EXPECT_EQ(ibusLayoutOfEngine(ibusEngineName(IbusLayout::us)), IbusLayout::us);
    EXPECT_EQ(ibusLayoutOfEngine(ibusEngineName(IbusLayout::ru)), IbusLayout::ru);
    EXPECT_FALSE(ibusLayoutOfEngine("xkb:us::eng"));
    EXPECT_STREQ(ibusLayoutName(IbusLayout::ru), "ru");
}

}  // namespace
}  // namespace tarvelo::desktop
