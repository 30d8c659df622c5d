// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf8.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tarvelo::text {
namespace {

TEST(Utf8, DecodesEveryEncodingLength) {
    EXPECT_EQ(scalars("aж€😀"), U"aж€😀");
    EXPECT_EQ(fromScalars(U"aж€😀"), "aж€😀");
    EXPECT_EQ(scalars(""), U"");
}

// Each maximal ill-formed subsequence reads as one U+FFFD, and decoding resumes at the next byte that
// could start a scalar.
TEST(Utf8, IllFormedInputReadsAsReplacementCharacters) {
    struct Case {
        std::string input;
        std::u32string expected;
    };
    const std::vector<Case> cases = {
        {"a\x80" "b", U"a\uFFFDb"},                  // lone continuation byte
        {"\xC0\xAF", U"\uFFFD\uFFFD"},               // overlong lead bytes are never valid
        {"\xE0\x80\x80", U"\uFFFD\uFFFD\uFFFD"},     // overlong three-byte form
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},     // encoded surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xE2\x82" "a", U"\uFFFDa"},                 // truncated sequence is one subpart
        {"\xF0\x9F\x98", U"\uFFFD"},                  // truncated at the end of the text
        {"\xFF" "ж", U"\uFFFDж"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(scalars(c.input), c.expected);
        EXPECT_FALSE(isWellFormed(c.input));
        EXPECT_EQ(wellFormed(c.input), fromScalars(c.expected));
        EXPECT_TRUE(isWellFormed(wellFormed(c.input)));
    }
    EXPECT_TRUE(isWellFormed("привет \uFFFD"));
    EXPECT_EQ(firstIllFormedOffset("привет \uFFFD"), std::nullopt);
    EXPECT_EQ(firstIllFormedOffset("при\xD0"), 6u);
}

TEST(Utf8, EncodingNeverProducesIllFormedText) {
    std::string out;
    appendScalar(out, 0xD800);
    appendScalar(out, 0x110000);
    EXPECT_EQ(out, "\uFFFD\uFFFD");
}

TEST(Utf8, CountsUtf16CodeUnits) {
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("ghbdtn "), 7u);
    EXPECT_EQ(utf16Length("привет"), 6u);
    EXPECT_EQ(utf16Length("a😀"), 3u);      // outside the BMP: a surrogate pair
    EXPECT_EQ(utf16Length("е\u0308"), 2u);  // one character, two scalars
}

TEST(Utf8, ConvertsToAndFromUtf16) {
    for (const std::string text : {"", "ghbdtn ", "привет", "a😀b", "е\u0308"}) {
        const std::u16string units = toUtf16(text);
        EXPECT_EQ(units.size(), utf16Length(text)) << text;
        EXPECT_EQ(fromUtf16(units), text) << text;
    }
    EXPECT_EQ(toUtf16("a😀"), (std::u16string{u'a', char16_t{0xD83D}, char16_t{0xDE00}}));
    // Unpaired surrogates, as a field cut in the middle of a pair would give.
    EXPECT_EQ(fromUtf16(std::u16string{char16_t{0xD83D}, u'x'}), "\uFFFDx");
    EXPECT_EQ(fromUtf16(std::u16string{u'x', char16_t{0xDE00}}), "x\uFFFD");
}

}  // namespace
}  // namespace tarvelo::text
