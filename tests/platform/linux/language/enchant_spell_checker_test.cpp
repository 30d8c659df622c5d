// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/enchant_spell_checker.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// These run against the installed hunspell dictionaries (Debian's hunspell-en-us and hunspell-ru).

namespace tarvelo::desktop {
namespace {

std::string describe(const std::optional<TextRange>& range) {
    return range ? std::to_string(range->location) + "+" + std::to_string(range->length) : "none";
}

TEST(EnchantSpellCheckerTest, OffersEachInstalledDictionaryOnceWithTheHunspellPairFirst) {
    EnchantSpellChecker checker;
    const std::vector<std::string> languages = checker.availableLanguages();
    ASSERT_GE(languages.size(), 2u);
    EXPECT_EQ(languages[0], "en_US");
    EXPECT_EQ(languages[1], "ru_RU");
    EXPECT_EQ(std::set<std::string>(languages.begin(), languages.end()).size(), languages.size());
    EXPECT_TRUE(std::is_sorted(languages.begin() + 2, languages.end()));
    EXPECT_EQ(checker.availableLanguages(), languages);
}

TEST(EnchantSpellCheckerTest, CountsTheWordsAndFindsTheFirstMisspelledOneInUtf16Units) {
    struct Case {
        std::string text;
        std::string language;
        std::size_t wordCount;
        std::optional<TextRange> firstMisspelled;
    };
    const std::vector<Case> cases = {
        {"hello", "en_US", 1, std::nullopt},
        {"hello wrld", "en_US", 2, TextRange{6, 4}},
        {"helo wrld", "en_US", 2, TextRange{0, 4}},
        // Words after the first misspelled one are counted, not checked.
        {"wrld hello helo", "en_US", 3, TextRange{0, 4}},
        // Two UTF-16 units for the emoji, one for each Cyrillic letter, though UTF-8 takes 4 and 2 bytes.
        {"привет, мир \U0001F600 ошибкаа", "ru_RU", 3, TextRange{15, 7}},
        {"\U0001F600 wrld", "en_US", 1, TextRange{3, 4}},
        {"привет", "en_US", 1, TextRange{0, 6}},
        // Inner apostrophes (typed or typographic) and hyphens join; at the ends they do not.
        {"don't don\u2019t well-known что-то", "en_US", 4, TextRange{23, 6}},
        {"'hello-", "en_US", 1, std::nullopt},
        {"что-то кто-нибудь", "ru_RU", 2, std::nullopt},
        {"well--known", "en_US", 2, std::nullopt},
        // Digits and punctuation separate words and are none themselves.
        {"hello,world! 2024", "en_US", 2, std::nullopt},
        {"hello1wrld", "en_US", 2, TextRange{6, 4}},
        {"-- ' 42 \U0001F600", "en_US", 0, std::nullopt},
        {"", "en_US", 0, std::nullopt},
        // Hunspell takes a dictionary word in any case, a proper noun only with its capital.
        {"HELLO Hello", "en_US", 2, std::nullopt},
        {"london", "en_US", 1, TextRange{0, 6}},
        {"London", "en_US", 1, std::nullopt},
        {"москва", "ru_RU", 1, TextRange{0, 6}},
        // ё and е are both accepted where the dictionary has ё.
        {"ещё еще", "ru_RU", 2, std::nullopt},
    };
    EnchantSpellChecker checker;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " in " + c.language);
        const SpellingResult result = checker.check(c.text, c.language);
        EXPECT_EQ(result.wordCount, c.wordCount);
        EXPECT_EQ(describe(result.firstMisspelled), describe(c.firstMisspelled));
    }
}

TEST(EnchantSpellCheckerTest, FindsNoWordsInALanguageWithoutADictionary) {
    EnchantSpellChecker checker;
    // Enchant reads tags as C strings, so one with a NUL inside must not reach en_US.
    const std::vector<std::string> languages = {"xx_YY", "", std::string("en_US\0", 6), "klingon"};
    for (const std::string& language : languages) {
        SCOPED_TRACE(language);
        const SpellingResult result = checker.check("hello wrld", language);
        EXPECT_EQ(result.wordCount, 0u);
        EXPECT_FALSE(result.firstMisspelled.has_value());
    }
    // A missing language does not spoil the ones that are there.
    EXPECT_EQ(checker.check("hello wrld", "en_US").wordCount, 2u);
}

}  // namespace
}  // namespace tarvelo::desktop
