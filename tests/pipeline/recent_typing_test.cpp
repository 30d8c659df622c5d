// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/recent_typing.h"

#include <string>

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(RecentTyping, TellsWhatFollowsAKeyThroughBackspacesAndOwnEdits) {
    RecentTyping typing;
    for (const char* key : {"g", "h", " "}) typing.noteText(key, 1.0);
    const std::uint64_t firstWord = typing.keyCount();
    EXPECT_EQ(typing.textAfter(firstWord, 1.0), "");

    for (const char* key : {"v", "b", "h", " "}) typing.noteText(key, 1.1);
    const std::uint64_t secondWord = typing.keyCount();
    typing.noteText("x", 1.2);
    typing.noteText("y", 1.2);
    typing.noteBackspace(1.3);
    EXPECT_EQ(typing.textAfter(firstWord, 1.3), "vbh x");
    EXPECT_EQ(typing.textAfter(secondWord, 1.3), "x");

    // The system replaced the second word: what follows the first word reads the replacement.
    typing.noteEdit(secondWord, "vbh ", "мир ", 1.4);
    EXPECT_EQ(typing.textAfter(firstWord, 1.4), "мир x");
    EXPECT_EQ(typing.textAfter(secondWord, 1.4), "x");
    // An edit of the first word changes nothing after it.
    typing.noteEdit(firstWord, "gh ", "пр ", 1.5);
    EXPECT_EQ(typing.textAfter(firstWord, 1.5), "мир x");
    // And undoing the second word brings its typed form back.
    typing.noteEdit(secondWord, "мир ", "vbh ", 1.6);
    EXPECT_EQ(typing.textAfter(firstWord, 1.6), "vbh x");
}

TEST(RecentTyping, KnowsNothingAcrossAnUnknownKeyOrABackspaceIntoTheAnchor) {
    RecentTyping typing;
    typing.noteText("a", 1.0);
    typing.noteText(" ", 1.0);
    const std::uint64_t anchor = typing.keyCount();
    typing.noteText("b", 1.0);
    typing.noteBackspace(1.0);
    EXPECT_EQ(typing.textAfter(anchor, 1.0), "");
    typing.noteBackspace(1.0);  // takes the space the anchor typed
    EXPECT_EQ(typing.textAfter(anchor, 1.0), std::nullopt);

    RecentTyping moved;
    moved.noteText(" ", 1.0);
    moved.noteUnknownKey(1.0);  // an arrow key, a chord
    moved.noteText("x", 1.0);
    EXPECT_EQ(moved.textAfter(1, 1.0), std::nullopt);
    EXPECT_EQ(moved.textAfter(2, 1.0), "x");

    // An edit whose text is no longer where it was (the user deleted into it) cannot be followed.
    RecentTyping broken;
    for (const char* key : {"a", "b", " ", "c", "d", " "}) broken.noteText(key, 1.0);
    broken.noteBackspace(1.0);
    broken.noteEdit(6, "cd ", "вг ", 1.0);
    EXPECT_EQ(broken.textAfter(3, 1.0), std::nullopt);
}

TEST(RecentTyping, HoldsOnlyTheLastKeysAndNoneOlderThanItsLifetime) {
    RecentTyping typing;
    typing.noteText(" ", 0.0);
    for (std::size_t i = 0; i < RecentTyping::kCapacity - 1; ++i) typing.noteText("a", 0.0);
    EXPECT_TRUE(typing.textAfter(1, 0.0).has_value());
    EXPECT_TRUE(typing.textAfter(0, 0.0).has_value());
    typing.noteText("a", 0.0);
    // The first key has gone: what followed key 0 is no longer known, what followed key 1 still is.
    EXPECT_EQ(typing.textAfter(0, 0.0), std::nullopt);
    EXPECT_EQ(typing.textAfter(1, 0.0), std::string(RecentTyping::kCapacity - 1, 'a') + "a");

    RecentTyping old;
    old.noteText(" ", 0.0);
    old.noteText("x", 1.0);
    EXPECT_EQ(old.textAfter(1, 1.0 + RecentTyping::kLifetime - 0.01), "x");
    EXPECT_EQ(old.textAfter(1, 1.0 + RecentTyping::kLifetime), std::nullopt);
    old.clear();
    EXPECT_EQ(old.textAfter(2, 20.0), "");
    EXPECT_EQ(old.keyCount(), 2u);
}

}  // namespace
}  // namespace tarvelo
