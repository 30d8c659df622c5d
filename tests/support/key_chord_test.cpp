// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/key_chord.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

constexpr std::uint64_t kCtrl = modifier_flag::kCommand;
constexpr std::uint64_t kAlt = modifier_flag::kOption;
constexpr std::uint64_t kShift = modifier_flag::kShift;
constexpr std::uint64_t kSuper = modifier_flag::kControl;

TEST(KeyChord, NamesReadBackAsTheSameChord) {
    const struct {
        KeyChord chord;
        const char* name;
    } cases[] = {
        {{virtual_key::kSpace, kAlt}, "Alt+Space"},
        {{virtual_key::kSpace, kCtrl | kAlt}, "Ctrl+Alt+Space"},
        {{virtual_key::kSpace, kCtrl | kShift}, "Ctrl+Shift+Space"},
        {{0, kSuper | kShift}, "Shift+Super+A"},
        {{29, kCtrl}, "Ctrl+0"},
        {{96, 0}, "F5"},
        {{111, kShift}, "Shift+F12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(key_chord::format(c.chord), c.name);
        EXPECT_EQ(key_chord::parse(c.name), c.chord) << c.name;
    }
    // Any order and letter case reads; the name is always written one way.
    EXPECT_EQ(key_chord::parse("space+ALT+ctrl"), (KeyChord{virtual_key::kSpace, kCtrl | kAlt}));
    EXPECT_EQ(key_chord::fromParts({"Shift", "Ctrl", "Space"}), (KeyChord{virtual_key::kSpace, kCtrl | kShift}));
    EXPECT_EQ(key_chord::parts({virtual_key::kSpace, kCtrl | kShift}),
              (std::vector<std::string>{"Ctrl", "Shift", "Space"}));
}

TEST(KeyChord, RefusesWhatCannotBeAShortcut) {
    for (const char* name : {"", "Space", "Shift+Space", "Shift+A", "A", "Ctrl+Alt", "Ctrl+Ctrl+Space",
                             "Ctrl+Space+A", "Ctrl+Enter", "Ctrl+F13", "Ctrl+", "+Space", "Ctrl+Alt+Space ",
                             "Hyper+Space", "Ctrl++Space"}) {
        EXPECT_FALSE(key_chord::parse(name)) << '"' << name << '"';
    }
    EXPECT_EQ(key_chord::problem({virtual_key::kSpace, kShift}), key_chord::Problem::needsModifier);
    EXPECT_EQ(key_chord::problem({0xFFF, kCtrl}), key_chord::Problem::unknownKey);
    EXPECT_EQ(key_chord::problem({virtual_key::kSpace, kCtrl | 0x1}), key_chord::Problem::unknownKey);
    // Super alone is enough, and a function key needs nothing.
    EXPECT_FALSE(key_chord::problem({virtual_key::kSpace, kSuper}));
    EXPECT_FALSE(key_chord::problem({122, 0}));
    EXPECT_TRUE(key_chord::isFunctionKey(122));
    EXPECT_FALSE(key_chord::isFunctionKey(3));  // F, the letter
}

TEST(KeyChord, MatchesAPressWithExactlyItsCtrlAndAltAndAtLeastItsShiftAndSuper) {
    const KeyChord altSpace{virtual_key::kSpace, kAlt};
    EXPECT_TRUE(key_chord::matches(altSpace, virtual_key::kSpace, kAlt));
    EXPECT_TRUE(key_chord::matches(altSpace, virtual_key::kSpace, kAlt | kShift | kSuper));
    EXPECT_FALSE(key_chord::matches(altSpace, virtual_key::kSpace, kAlt | kCtrl));
    EXPECT_FALSE(key_chord::matches(altSpace, virtual_key::kSpace, 0));
    EXPECT_FALSE(key_chord::matches(altSpace, virtual_key::kZ, kAlt));

    const KeyChord ctrlShiftSpace{virtual_key::kSpace, kCtrl | kShift};
    EXPECT_TRUE(key_chord::matches(ctrlShiftSpace, virtual_key::kSpace, kCtrl | kShift));
    EXPECT_FALSE(key_chord::matches(ctrlShiftSpace, virtual_key::kSpace, kCtrl));
    EXPECT_FALSE(key_chord::matches(ctrlShiftSpace, virtual_key::kSpace, kCtrl | kShift | kAlt));
}

}  // namespace
}  // namespace tarvelo
