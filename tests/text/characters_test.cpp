// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/characters.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include "text/utf8.h"

namespace tarvelo::text {
namespace {

std::vector<std::string> asStrings(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

TEST(Characters, SegmentsExtendedGraphemeClusters) {
    struct Case {
        std::string text;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"abc", {"a", "b", "c"}},
        {"при", {"п", "р", "и"}},
        {"a\r\nb", {"a", "\r\n", "b"}},
        {"\n\r", {"\n", "\r"}},
        {"е\u0308ж", {"е\u0308", "ж"}},                            // combining mark joins its base
        {"\U0001F468\u200D\U0001F469\u200D\U0001F467x", {"\U0001F468\u200D\U0001F469\u200D\U0001F467", "x"}},
        {"\U0001F1F7\U0001F1FA\U0001F1FA\U0001F1F8", {"\U0001F1F7\U0001F1FA", "\U0001F1FA\U0001F1F8"}},  // flags
        {"\u0915\u093F", {"\u0915\u093F"}},                        // spacing vowel sign
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(asStrings(characters(c.text)), c.expected);
        EXPECT_EQ(characterCount(c.text), c.expected.size());
        const std::string last = c.expected.empty() ? "" : c.expected.back();
        EXPECT_EQ(lastCharacter(c.text), last);
        EXPECT_EQ(std::string(droppingLastCharacter(c.text)) + last, c.text);
    }
}

TEST(Characters, IllFormedBytesNeverMergeAwayOrCrash) {
    const std::string text = "a\xFF\xE2\x82" "b";
    std::string joined;
    for (std::string_view character : characters(text)) joined += character;
    EXPECT_EQ(joined, text);  // every byte belongs to exactly one character
    EXPECT_GE(characterCount(text), 3u);
    EXPECT_EQ(lastCharacter(text), "b");
}

// Texts made only of scalars that always stand alone are segmented without ICU; this checks that
// shortcut against ICU itself on random texts mixing those scalars with line ends.
TEST(Characters, AgreesWithIcuOnTextsOfStandaloneScalars) {
    const std::u32string pool =
        U"az09 .,;'\"\t\r\n\u00A0\u00AD\u00E9\u00DF\u0101\u02C6ёйЖѢӿԯ\u2014\u2019\u2026\u00A9";
    std::mt19937 random(20261206);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> icuIterator(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    ASSERT_TRUE(U_SUCCESS(status));
    for (int round = 0; round < 500; ++round) {
        std::u32string scalars;
        const auto length = std::uniform_int_distribution<std::size_t>(0, 12)(random);
        for (std::size_t i = 0; i < length; ++i) {
            scalars.push_back(pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)]);
        }
        const std::string text = fromScalars(scalars);
        const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(text);
        icuIterator->setText(utf16);
        std::size_t expected = 0;
        for (int32_t end = icuIterator->next(); end != icu::BreakIterator::DONE; end = icuIterator->next()) ++expected;
        SCOPED_TRACE(text);
        EXPECT_EQ(characterCount(text), expected);
    }
}

}  // namespace
}  // namespace tarvelo::text
