// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/word_analyzer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/case_mapping.h"

namespace tarvelo {
namespace {

struct Case {
    std::string text;
    bool expected;
};

void expectShouldAnalyze(const std::vector<Case>& cases, const ExceptionWords& exceptions = {}) {
    const WordAnalyzer analyzer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(analyzer.shouldAnalyze(c.text, exceptions), c.expected);
    }
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

TEST(WordAnalyzer, AnalyzesPlainWordsOfEitherLayout) {
    expectShouldAnalyze({
        {"ghbdtn", true},
        {"Ghbdtn", true},
        {"abc", true},
        {"руддщ", true},
        {"hello", true},
        {"привет", true},
    });
}

TEST(WordAnalyzer, AcceptsBetweenThreeAndThirtyTwoCharacters) {
    const std::string longest = repeated("ghbdtn", 5) + "rf";
    ASSERT_EQ(longest.size(), 32u);
    expectShouldAnalyze({
        {"", false},
        {"a", false},
        {"ab", false},
        {"abc", true},
        {longest, true},
        {longest + "r", false},
        // Length counts characters, not scalars.
        {"a\u0301b\u0301", false},
        {repeated("ghbdtn", 5) + "r" + "e\u0301", true},
        {repeated("ghbdtn", 5) + "r" + "e\u0301" + "e\u0301", false},
    });
}

TEST(WordAnalyzer, RejectsExceptionWordsInAnyCapitalisation) {
    const std::vector<Case> exceptional = {
        {"ghbdtnbr", false},
        {"Ghbdtnbr", false},
        {"GHBDTNBR", false},
        {"цщкдвцшву", false},
        {"Цщкдвцшву", false},
        {"ЦЩКДВЦШВУ", false},
        {"caf\u00E9", false},
        {"Caf\u00E9", false},
        {"cafe\u0301", false},
        {"Cafe\u0301", false},
        {"мой", false},
        {"Мой", false},
        {"мои\u0306", false},
        {"ghbdtn", true},
        {"ghbdtnbrb", true},
    };
    // The set holds each exception's comparison key, whichever canonical form the user typed.
    struct ExceptionSet {
        std::string name;
        std::vector<std::string> typed;
    };
    const std::vector<ExceptionSet> exceptionSets = {
        {"composed", {"ghbdtnbr", "цщкдвцшву", "caf\u00E9", "мой"}},
        {"decomposed", {"GHBDTNBR", "цщкдвцшву", "cafe\u0301", "МОИ\u0306"}},
    };
    for (const ExceptionSet& exceptions : exceptionSets) {
        SCOPED_TRACE(exceptions.name);
        ExceptionWords keys;
        for (const std::string& word : exceptions.typed) keys.insert(text::comparisonKey(word));
        expectShouldAnalyze(exceptional, keys);
    }

    // Without the exceptions the same words are ordinary candidates.
    expectShouldAnalyze({
        {"ghbdtnbr", true},
        {"GHBDTNBR", true},
        {"ЦЩКДВЦШВУ", true},
        {"Caf\u00E9", true},
        {"cafe\u0301", true},
        {"мой", true},
    });
}

TEST(WordAnalyzer, RejectsTechnicalWordsInAnyCapitalisation) {
    expectShouldAnalyze({
        {"git", false},
        {"Git", false},
        {"HTTPS", false},
        {"GitHub", false},
        {"localhost", false},
        {"Localhost", false},
        {"LOCALHOST", false},
        {"python", false},
        {"Docker", false},
        {"swiftui", false},
        {"chatgpt", false},
        {"npx", false},
        {"Sql", false},
        // Close to a technical word is not the word.
        {"gits", true},
        {"pythons", true},
    });
}

TEST(WordAnalyzer, RejectsAnyDecimalDigit) {
    expectShouldAnalyze({
        {"ghbdtn1", false},
        {"1ghbdtn", false},
        {"ghbdtn\u0663", false},  // ARABIC-INDIC DIGIT THREE
        {"ghb\uFF11dtn", false},  // FULLWIDTH DIGIT ONE
        {"ghbdtn\u0967", false},  // DEVANAGARI DIGIT ONE
        {"привет0", false},
    });
}

TEST(WordAnalyzer, RejectsAddressAndPathCharacters) {
    expectShouldAnalyze({
        {"ghb@dtn", false},
        {"a/b", false},
        {"a_b", false},
        {"what?", false},
        {"a+b", false},
        {"ghbdtn:", false},
        {"a\\b", false},
        {"a=b", false},
        {"#ghbdtn", false},
        {"ghb&dtn", false},
    });
}

TEST(WordAnalyzer, RejectsWebAddressesAndHomePaths) {
    expectShouldAnalyze({
        {"www.ghbdtn", false},
        {"example.com", false},
        {"Example.COM", false},
        {"EXAMPLE.COM", false},
        {"ya.ru", false},
        {"my-site.io", false},
        {"-.com", false},
        {"tarvelo.app", false},
        {"kaspi.kz", false},
        {"crate.dev", false},
        {"mozilla.org", false},
        {"python.net", false},
        {"~ghbdtn", false},
        // Only one full stop before a known ending makes an address.
        {"sub.example.com", true},
        {"example.co", true},
        {"example.comm", true},
        {"ghbdtn.", true},
    });
}

TEST(WordAnalyzer, RejectsCodeLikeTokensAndAbbreviations) {
    expectShouldAnalyze({
        {"iPhone", false},
        {"ghbDtn", false},
        {"JavaScript", false},
        {"ghbdtN", false},
        {"Ghbdtn", true},
        {"GHBDTN", false},
        {"GHBDTNN", true},
        {"NASA-X", false},
        {"ПРИВЕТ", false},
        {"ПРИВЕТЫ", true},
        {"---", false},
    });
}

TEST(WordAnalyzer, AllowsOnlyLettersAndLayoutPunctuation) {
    expectShouldAnalyze({
        // Punctuation whose key carries a Russian letter, and the hyphen.
        {"ghbdtn,", true},
        {"ghbdtn.", true},
        {"ghbdtn;", true},
        {"ghb'dtn", true},
        {"ghb\u2019dtn", true},
        {"`krf", true},
        {"[jhjij", true},
        {"{jhjij", true},
        {"ghbdtn<>", true},
        {"ghbdtn-", true},
        {"cafe\u0301", true},
        // Anything else.
        {"ghb dtn", false},
        {"ghbdtn!", false},
        {"ghb\"dtn", false},
        {"ghbdtn\u2026", false},
        {"\u00ABghbdtn\u00BB", false},
        {"ghb\u2013dtn", false},
        {"(ghbdtn)", false},
        {"ghbdtn|", false},
    });
}

TEST(WordAnalyzer, RejectsTokensWithoutAMajorityScript) {
    expectShouldAnalyze({
        {"abвг", false},
        {"вгab", false},
        {"ab\u0432", true},
        {"\u00E9\u00E8\u00E0", false},
        {".......", false},
        {"\u00DF\u00DF\u00DFa\u0431", false},
    });
}

TEST(WordAnalyzer, RejectsTokensWhoseConversionIsNotAPlainWord) {
    expectShouldAnalyze({
        {"руддщ", true},
        {"это", true},      // э becomes the apostrophe
        {"этот", true},
        {"кто-то", true},
        {"хорошо", false},  // х becomes a left square bracket
        {"привет.", false},
        {"привет,", false},
        {"ёлка", false},
        {"объект", false},
        {"жизнь", false},
        {"юла", false},
        {"руддщ\u2019", false},  // U+2019 has no Russian key, so it stays and is not an apostrophe
        {"ghbdtn\u2019", true},
    });
}

TEST(WordAnalyzer, LooksLikeCodeWithAnUpperCaseCharacterAfterTheFirst) {
    const std::vector<Case> cases = {
        {"iPhone", true},
        {"JavaScript", true},
        {"ghbDtn", true},
        {"aB", true},
        {"HELLo", true},
        {"привеТ", true},
        {"-A-b", true},
        {"hell\u0045\u0301", true},  // E with a combining acute is still an upper-case character
        {"Hello", false},
        {"Ghbdtn", false},
        {"hello", false},
        {"HELLO", false},
        {"ПРИВЕТ", false},
        {"A-b", false},
        {"", false},
    };
    const WordAnalyzer analyzer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(analyzer.looksLikeCode(c.text), c.expected);
    }
}

TEST(WordAnalyzer, LooksLikeAnAbbreviationWhenShortAndAllLettersAreUpperCase) {
    const std::vector<Case> cases = {
        {"GHBDTN", true},
        {"NASA", true},
        {"NASA-X", true},
        {"ПРИВЕТ", true},
        {"A1", true},
        {"---", true},
        {"", true},
        {"ABCDEF\u0301", true},  // six characters, seven scalars
        {"\u0045\u0301COLE", true},
        {"GHBDTNN", false},
        {"Nasa", false},
        {"NASa", false},
        {"nasa", false},
        {"\u6F22\u5B57", false},  // letters without case are not upper-case
    };
    const WordAnalyzer analyzer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(analyzer.looksLikeAbbreviation(c.text), c.expected);
    }
}

}  // namespace
}  // namespace tarvelo
