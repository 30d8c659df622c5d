// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/word_buffer.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/characters.h"

namespace tarvelo {
namespace {

// Feeds each character of `keys` as one key press and collects the closed words.
std::vector<ClosedWord> type(WordBuffer& buffer, std::string_view keys) {
    std::vector<ClosedWord> closed;
    for (std::string_view key : text::characters(keys)) {
        if (auto word = buffer.append(key)) closed.push_back(*word);
    }
    return closed;
}

TEST(WordBuffer, ClosesWordsAtWhiteSpaceAndTheSixDelimiters) {
    struct Case {
        std::string keys;
        std::vector<ClosedWord> expected;
    };
    const std::vector<Case> cases = {
        {"ab ", {{"ab", " "}}},
        {"  ab  ", {{"ab", " "}}},  // a boundary with nothing before it closes nothing
        {"ghbdtn\t", {{"ghbdtn", "\t"}}},
        {"ghbdtn\r\n", {{"ghbdtn", "\r\n"}}},  // CR LF is one character
        {"ghbdtn\u00A0", {{"ghbdtn", "\u00A0"}}},
        {"a!b?c\"d(e)f:", {{"a", "!"}, {"b", "?"}, {"c", "\""}, {"d", "("}, {"e", ")"}, {"f", ":"}}},
        // Period, comma, semicolon, apostrophe, brackets, slash, digits and hyphens stay in the word:
        // several of those keys carry Russian letters.
        {"ghbdtn. ", {{"ghbdtn.", " "}}},
        {"k.,k.; x'[]`/1-2 ", {{"k.,k.;", " "}, {"x'[]`/1-2", " "}}},
        {"при\u0435\u0308м ", {{"при\u0435\u0308м", " "}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        WordBuffer buffer;
        EXPECT_EQ(type(buffer, c.keys), c.expected);
        EXPECT_TRUE(buffer.text().empty());
        EXPECT_FALSE(buffer.overflowed());
    }
}

TEST(WordBuffer, CanKeepTheKeysOfRussianLettersInsideAWordTypedOnTheEnglishLayout) {
    struct Case {
        std::string keys;
        std::vector<ClosedWord> everyBoundary;
        std::vector<ClosedWord> otherLayoutLetters;
    };
    const std::vector<Case> cases = {
        {":tyobyf ", {{"tyobyf", " "}}, {{":tyobyf", " "}}},
        {"\"nj ", {{"nj", " "}}, {{"\"nj", " "}}},
        {"k:e ", {{"k", ":"}, {"e", " "}}, {{"k:e", " "}}},
        // A word with a Cyrillic letter ends there as always; the other delimiters end every word.
        {"слово: ", {{"слово", ":"}}, {{"слово", ":"}}},
        {"ab?c\" ", {{"ab", "?"}, {"c", "\""}}, {{"ab", "?"}, {"c\"", " "}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        WordBuffer everyBoundary;
        EXPECT_EQ(type(everyBoundary, c.keys), c.everyBoundary);
        WordBuffer otherLayoutLetters(WordBuffer::Splitting::otherLayoutLetters);
        EXPECT_EQ(type(otherLayoutLetters, c.keys), c.otherLayoutLetters);
    }
}

TEST(WordBuffer, KeepsWordsOfAtMostSixtyFourCharacters) {
    WordBuffer buffer;
    const std::string longest(64, 'x');
    EXPECT_EQ(type(buffer, longest + " "), (std::vector<ClosedWord>{{longest, " "}}));

    // A combining mark joins the character before it, so it does not count towards the limit.
    std::string withMarks;
    for (int i = 0; i < 64; ++i) withMarks += "е\u0308";
    EXPECT_EQ(type(buffer, withMarks + " "), (std::vector<ClosedWord>{{withMarks, " "}}));

    // The 65th character throws the whole word away, and everything typed after it up to the boundary.
    EXPECT_TRUE(type(buffer, std::string(65, 'x')).empty());
    EXPECT_TRUE(buffer.overflowed());
    EXPECT_TRUE(buffer.text().empty());
    EXPECT_TRUE(type(buffer, "abc ").empty());
    EXPECT_FALSE(buffer.overflowed());
    EXPECT_EQ(type(buffer, "next "), (std::vector<ClosedWord>{{"next", " "}}));
}

TEST(WordBuffer, InputOfOtherThanOneCharacterClearsTheWord) {
    WordBuffer buffer;
    type(buffer, "ghb");
    EXPECT_FALSE(buffer.append("dt"));  // a composed sequence from one key
    EXPECT_EQ(buffer.text(), "");
    EXPECT_EQ(type(buffer, "n "), (std::vector<ClosedWord>{{"n", " "}}));

    type(buffer, std::string(70, 'x'));
    ASSERT_TRUE(buffer.overflowed());
    EXPECT_FALSE(buffer.append(""));
    EXPECT_FALSE(buffer.overflowed());  // an empty input also ends the discarding
}

TEST(WordBuffer, DeleteRemovesTheLastCharacterButNeverEndsDiscarding) {
    WordBuffer buffer;
    type(buffer, "ghbdtnn");
    buffer.removeLastCharacter();
    EXPECT_EQ(buffer.text(), "ghbdtn");
    EXPECT_EQ(buffer.characterCount(), 6u);

    type(buffer, " при\u0435\u0308");
    buffer.removeLastCharacter();
    EXPECT_EQ(buffer.text(), "при");  // the letter and its mark go together

    buffer.clear();
    buffer.removeLastCharacter();
    EXPECT_EQ(buffer.text(), "");

    type(buffer, std::string(65, 'x'));
    buffer.removeLastCharacter();
    EXPECT_TRUE(buffer.overflowed());
    EXPECT_TRUE(type(buffer, "yz ").empty());
    EXPECT_EQ(type(buffer, "ghbdtn "), (std::vector<ClosedWord>{{"ghbdtn", " "}}));
}

TEST(WordBuffer, IllFormedKeyTextIsKeptWellFormed) {
    WordBuffer buffer;
    type(buffer, "ab");
    EXPECT_FALSE(buffer.append("\xFF"));
    const auto closed = buffer.append(" ");
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->word, "ab\uFFFD");
}

}  // namespace
}  // namespace tarvelo
