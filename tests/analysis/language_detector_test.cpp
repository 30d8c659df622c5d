// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/language_detector.h"

#include <limits>
#include <random>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fake_language_recognizer.h"
#include "platform/fake/fake_spell_checker.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

constexpr auto kToRussian = ConversionDirection::englishToRussian;
constexpr auto kToEnglish = ConversionDirection::russianToEnglish;
constexpr auto kWrongEnglish = LanguageClassification::wrongEnglishLayoutIntendedRussian;
constexpr auto kWrongRussian = LanguageClassification::wrongRussianLayoutIntendedEnglish;

std::string describe(const std::optional<ConversionDirection>& direction) {
    return direction ? std::string(rawValue(*direction)) : "none";
}

// Compares field by field so that a failure names the field; scores within a few units in the last place.
void expectResult(const DetectionResult& actual, const DetectionResult& expected) {
    EXPECT_EQ(actual.original, expected.original);
    EXPECT_EQ(actual.converted, expected.converted);
    EXPECT_EQ(rawValue(actual.classification), rawValue(expected.classification));
    EXPECT_EQ(describe(actual.direction), describe(expected.direction));
    EXPECT_DOUBLE_EQ(actual.originalScore, expected.originalScore);
    EXPECT_DOUBLE_EQ(actual.convertedScore, expected.convertedScore);
}

DetectionResult unknown(const std::string& text) {
    return DetectionResult{text, text, LanguageClassification::unknown, std::nullopt, 0.0, 0.0};
}

class LanguageDetectorTest : public ::testing::Test {
protected:
    FakeSpellChecker spellChecker;
    FakeLanguageRecognizer recognizer;
    LanguageDetector detector{LayoutConverter(), spellChecker, recognizer};
};

// With a recogniser that has no opinion and no spelling dictionaries only the word lists, the letter
// pairs and the penalties count.
TEST_F(LanguageDetectorTest, ScoresWithWordListsLetterPairsAndPenalties) {
    const std::vector<DetectionResult> cases = {
        // No vowel and an unlikely sequence, against a listed word with three of five pairs.
        {"ghbdtn", "привет", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"руддщ", "hello", kWrongRussian, kToEnglish, -2.5, 9.0},
        {"hello", "руддщ", LanguageClassification::english, kToRussian, 9.0, -2.5},
        {"привет", "ghbdtn", LanguageClassification::russian, kToEnglish, 10.4, -5.0},
        {"rfr", "как", kWrongEnglish, kToRussian, -2.0, 12.0},
        {"ntcn", "тест", kWrongEnglish, kToRussian, -2.0 / 3.0, 8.0 / 3.0},
        // Case changes neither the scores nor the case of the conversion.
        {"Ghbdtn", "Привет", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"GHBDTN", "ПРИВЕТ", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"Hello", "Руддщ", LanguageClassification::english, kToRussian, 9.0, -2.5},
        // A single character has no letter pairs.
        {"z", "я", kWrongEnglish, kToRussian, -2.0, 8.0},
        {"я", "z", LanguageClassification::russian, kToEnglish, 8.0, -2.0},
        {"y", "н", LanguageClassification::english, kToRussian, 0.0, -2.0},
        // y is an English vowel.
        {"myth", "ьнер", kWrongEnglish, kToRussian, 4.0 / 3.0, 8.0 / 3.0},
    };
    for (const DetectionResult& expected : cases) {
        SCOPED_TRACE(expected.original);
        expectResult(detector.evaluate(expected.original), expected);
        expectResult(detector.evaluateToken(expected.original), expected);
    }
}

TEST_F(LanguageDetectorTest, TextWithoutAMajorityScriptIsUnknown) {
    const std::vector<std::string> texts = {"", "12345", "...", "!?", "abвг", "вгab", "\u00E9\u00E8\u00E0", "a\u00DF\u0431"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        expectResult(detector.evaluate(text), unknown(text));
        expectResult(detector.evaluateToken(text), unknown(text));
    }
    // Stripping the full stop leaves the tie, so the whole token stays unknown.
    expectResult(detector.evaluateToken("abвг."), unknown("abвг."));
    expectResult(detector.evaluateToken("...."), unknown("...."));
}

TEST_F(LanguageDetectorTest, RetriesTheTokenWithoutTrailingFullStopsCommasAndSemicolons) {
    const std::string longWord = "ntcnntcnntcnntcnntcnntcnntcnntc";  // 31 characters
    const std::string longConversion = "тесттесттесттесттесттесттесттес";
    ASSERT_EQ(longWord.size(), 31u);
    const std::vector<DetectionResult> cases = {
        // The stripped punctuation comes back as typed, not converted.
        {"ghbdtn,", "привет,", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"ghbdtn.", "привет.", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"ghbdtn;", "привет;", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"ghbdtn.,;", "привет.,;", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"ghbdtn\u037E", "привет\u037E", kWrongEnglish, kToRussian, -5.0, 10.4},  // a Greek question mark is a semicolon
        {"руддщ.", "hello.", kWrongRussian, kToEnglish, -2.5, 9.0},
        {"ntcn,", "тест,", kWrongEnglish, kToRussian, -2.0 / 3.0, 8.0 / 3.0},
        // Three full stops are all stripped; of four, only three.
        {"ghbdtn...", "привет...", kWrongEnglish, kToRussian, -5.0, 10.4},
        {"ghbdtn....", "приветю...", kWrongEnglish, kToRussian, -5.0, 2.0},
        // "rf" is too short to analyze, so "rf." with its ю is the best candidate.
        {"rf...", "каю..", kWrongEnglish, kToRussian, -2.0, 2.0},
        // 33 characters are too many to analyze; stripping goes on to the shorter forms.
        {longWord + "...", longConversion + "...", kWrongEnglish, kToRussian, -14.0 / 15.0, 2.0},
        // Other punctuation stays part of the token.
        {"ghbdtn!", "привет!", kWrongEnglish, kToRussian, -5.0, 2.0},
    };
    for (const DetectionResult& expected : cases) {
        SCOPED_TRACE(expected.original);
        expectResult(detector.evaluateToken(expected.original), expected);
    }
}

TEST_F(LanguageDetectorTest, EvaluatesAWholeTokenWithItsPunctuation) {
    const std::vector<DetectionResult> cases = {
        {"ghbdtn,", "приветб", kWrongEnglish, kToRussian, -5.0, 2.0},
        {"ghbdtn....", "приветюююю", kWrongEnglish, kToRussian, -5.0, 4.0 / 3.0},
        {"руддщ.", "hello/", kWrongRussian, kToEnglish, -2.5, 0.8},
    };
    for (const DetectionResult& expected : cases) {
        SCOPED_TRACE(expected.original);
        expectResult(detector.evaluate(expected.original), expected);
    }
}

TEST_F(LanguageDetectorTest, AShorterCandidateReplacesTheBestOnlyWhenItWinsOnBothCounts) {
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, LanguageHypotheses>> hypotheses;
        DetectionResult expected;
    };
    // Without hypotheses "ntcn," scores -1.0 against 2.0 (margin 3.0) and "ntcn" -2/3 against 8/3
    // (margin 10/3), so the shorter form wins.
    const std::vector<Case> cases = {
        {"higher converted score and larger margin", {}, {"ntcn,", "тест,", kWrongEnglish, kToRussian, -2.0 / 3.0, 8.0 / 3.0}},
        {"higher converted score but smaller margin",
         {{"ntcn", {{"en", 0.5}}}},
         {"ntcn,", "тестб", kWrongEnglish, kToRussian, -1.0, 2.0}},
        {"larger margin but lower converted score",
         {{"ntcn,", {{"en", 0.5}}}, {"тестб", {{"ru", 0.5}}}},
         {"ntcn,", "тестб", kWrongEnglish, kToRussian, 0.5, 3.5}},
        // "ntcn." wins over "ntcn.."; "ntcn" would beat the whole token but not "ntcn.".
        {"compared with the current best, not the whole token",
         {{"тестю", {{"ru", 1.0}}}},
         {"ntcn..", "тестю.", kWrongEnglish, kToRussian, -1.0, 5.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSpellChecker checker;
        FakeLanguageRecognizer answering;
        for (const auto& [text, hypotheses] : c.hypotheses) answering.setHypotheses(text, hypotheses);
        LanguageDetector tuned(LayoutConverter(), checker, answering);
        expectResult(tuned.evaluateToken(c.expected.original), c.expected);
    }
}

TEST_F(LanguageDetectorTest, RecogniserAddsThreeTimesTheProbabilityOfTheScoredLanguage) {
    recognizer.setHypotheses("ghbdtn", {{"en", 0.2}, {"ru", 0.7}});
    recognizer.setHypotheses("привет", {{"ru", 0.9}, {"en", 0.1}});
    recognizer.setHypotheses("руддщ", {{"ru", 0.6}});
    recognizer.setHypotheses("hello", {{"en", 0.5}, {"ru", 0.4}});
    recognizer.setHypotheses("rfr", {{"ru", 0.8}});
    recognizer.setHypotheses("как", {{"en", 0.8}});
    // Only the two most probable hypotheses count; here English is the third.
    recognizer.setHypotheses("ntcn", {{"ru", 0.5}, {"uk", 0.3}, {"en", 0.2}});

    const std::vector<DetectionResult> cases = {
        {"ghbdtn", "привет", kWrongEnglish, kToRussian, -5.0 + 0.6, 10.4 + 2.7},
        // The recogniser is given the lower-cased text.
        {"Ghbdtn", "Привет", kWrongEnglish, kToRussian, -5.0 + 0.6, 10.4 + 2.7},
        {"GHBDTN", "ПРИВЕТ", kWrongEnglish, kToRussian, -5.0 + 0.6, 10.4 + 2.7},
        {"руддщ", "hello", kWrongRussian, kToEnglish, -2.5 + 1.8, 9.0 + 1.5},
        // A hypothesis for the other language adds nothing.
        {"rfr", "как", kWrongEnglish, kToRussian, -2.0, 12.0},
        {"ntcn", "тест", kWrongEnglish, kToRussian, -2.0 / 3.0, 8.0 / 3.0},
    };
    for (const DetectionResult& expected : cases) {
        SCOPED_TRACE(expected.original);
        expectResult(detector.evaluate(expected.original), expected);
    }
}

TEST_F(LanguageDetectorTest, ANaNScoreNeverWins) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::string token;
        std::string hypothesisText;
        std::string language;
        LanguageClassification expected;
    };
    const std::vector<Case> cases = {
        {"ghbdtn", "ghbdtn", "en", LanguageClassification::english},
        {"ghbdtn", "привет", "ru", LanguageClassification::english},
        {"руддщ", "hello", "en", LanguageClassification::russian},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hypothesisText);
        FakeSpellChecker checker;
        FakeLanguageRecognizer answering;
        answering.setHypotheses(c.hypothesisText, {{c.language, nan}});
        LanguageDetector odd(LayoutConverter(), checker, answering);
        const DetectionResult result = odd.evaluate(c.token);
        EXPECT_EQ(rawValue(result.classification), rawValue(c.expected));
        EXPECT_TRUE(result.direction.has_value());
    }
}

TEST_F(LanguageDetectorTest, SpellingDictionaryCountsAsMuchAsTheWordList) {
    spellChecker.setAvailableLanguages({"ru_RU"});
    spellChecker.accept("ru_RU", "тест");

    // The conversion is checked in lower case; there is no English dictionary.
    expectResult(detector.evaluate("NTCN"),
                 {"NTCN", "ТЕСТ", kWrongEnglish, kToRussian, -2.0 / 3.0, 8.0 + 8.0 / 3.0});
    expectResult(detector.evaluate("ntcn"),
                 {"ntcn", "тест", kWrongEnglish, kToRussian, -2.0 / 3.0, 8.0 + 8.0 / 3.0});
    EXPECT_EQ(spellChecker.checks(),
              (std::vector<std::pair<std::string, std::string>>{{"тест", "ru_RU"}, {"тест", "ru_RU"}}));
}

TEST_F(LanguageDetectorTest, SpellsWithTheFirstDictionaryWhoseIdentifierBeginsWithTheLanguageCode) {
    struct Case {
        std::vector<std::string> languages;
        std::string text;
        Language language;
        bool expected;
        std::string dictionary;  // empty when no dictionary is asked
    };
    const std::vector<Case> cases = {
        {{"de_DE", "en_US", "en_GB", "ru_RU"}, "myth", Language::english, true, "en_US"},
        {{"de_DE", "en_US", "en_GB", "ru_RU"}, "colour", Language::english, false, "en_US"},
        {{"de_DE", "en_US", "en_GB", "ru_RU"}, "тест", Language::russian, true, "ru_RU"},
        {{"de_DE", "en_US", "en_GB", "ru_RU"}, "myth", Language::russian, false, "ru_RU"},
        {{"en_GB", "en_US"}, "colour", Language::english, true, "en_GB"},
        {{"en"}, "myth", Language::english, true, "en"},
        // An identifier that only contains the code is another language.
        {{"sr_Latn_en", "en_US"}, "myth", Language::english, true, "en_US"},
        {{"sr_Latn_ru", "ru_RU"}, "тест", Language::russian, true, "ru_RU"},
        // The prefix is compared with its case.
        {{"EN_US", "En", "en"}, "myth", Language::english, true, "en"},
        // No dictionary for the language: nothing is asked and nothing is spelled right.
        {{"de_DE", "ru_RU"}, "myth", Language::english, false, ""},
        {{"en_US", "uk_UA"}, "тест", Language::russian, false, ""},
        {{}, "myth", Language::english, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " in " + std::string(languageTag(c.language)));
        FakeSpellChecker checker;
        checker.setAvailableLanguages(c.languages);
        checker.accept("en_US", "myth");
        checker.accept("en", "myth");
        checker.accept("en_GB", "colour");
        checker.accept("ru_RU", "тест");
        FakeLanguageRecognizer silent;
        LanguageDetector spelling(LayoutConverter(), checker, silent);

        EXPECT_EQ(spelling.isCorrectlySpelled(c.text, c.language), c.expected);
        if (c.dictionary.empty()) {
            EXPECT_EQ(checker.checkCalls(), 0u);
        } else {
            ASSERT_EQ(checker.checkCalls(), 1u);
            EXPECT_EQ(checker.checks().front(), std::make_pair(c.text, c.dictionary));
        }
    }
}

TEST_F(LanguageDetectorTest, SpellsOnlyWordsOfLettersHyphensAndApostrophes) {
    spellChecker.setAvailableLanguages({"en_US"});
    struct Case {
        std::string text;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"don't", true},
        {"well-known", true},
        {"Myth", true},  // checked in lower case
        {"caf\u00E9", true},
        {"hello!", false},
        {"two words", false},
        {"don\u2019t", false},
        {"ghbdtn,", false},
        {"abc1", false},
        {"---", false},
        {"''", false},
        {"", false},
    };
    for (const Case& c : cases) spellChecker.accept("en_US", c.text);
    spellChecker.accept("en_US", "myth");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(detector.isCorrectlySpelled(c.text, Language::english), c.expected);
    }
    EXPECT_EQ(spellChecker.checks(),
              (std::vector<std::pair<std::string, std::string>>{
                  {"don't", "en_US"}, {"well-known", "en_US"}, {"myth", "en_US"}, {"caf\u00E9", "en_US"}}));
}

TEST_F(LanguageDetectorTest, ReadsTheSpellingLanguagesOnceOnFirstUse) {
    EXPECT_EQ(spellChecker.availableLanguagesCalls(), 0u);

    EXPECT_FALSE(detector.isCorrectlySpelled("myth", Language::english));
    EXPECT_EQ(spellChecker.availableLanguagesCalls(), 1u);

    // A dictionary installed later is not seen by this detector.
    spellChecker.setAvailableLanguages({"en_US", "ru_RU"});
    spellChecker.accept("en_US", "myth");
    spellChecker.accept("ru_RU", "тест");
    EXPECT_FALSE(detector.isCorrectlySpelled("myth", Language::english));
    expectResult(detector.evaluate("ntcn"), {"ntcn", "тест", kWrongEnglish, kToRussian, -2.0 / 3.0, 8.0 / 3.0});
    detector.evaluateToken("ghbdtn...");
    EXPECT_EQ(spellChecker.availableLanguagesCalls(), 1u);
    EXPECT_EQ(spellChecker.checkCalls(), 0u);
}

TEST_F(LanguageDetectorTest, AListedWordNeedsNoSpellingCheck) {
    spellChecker.setAvailableLanguages({"en_US", "ru_RU"});
    spellChecker.accept("ru_RU", "руддщ");

    // "hello" is in the English list; its conversion is not in the Russian one.
    expectResult(detector.evaluate("hello"), {"hello", "руддщ", LanguageClassification::english, kToRussian, 9.0, 5.5});
    EXPECT_EQ(spellChecker.checks(), (std::vector<std::pair<std::string, std::string>>{{"руддщ", "ru_RU"}}));

    // "rfr" is checked in English; "как" is listed.
    expectResult(detector.evaluate("rfr"), {"rfr", "как", kWrongEnglish, kToRussian, -2.0, 12.0});
    EXPECT_EQ(spellChecker.checks().size(), 2u);
    EXPECT_EQ(spellChecker.checks().back(), std::make_pair(std::string("rfr"), std::string("en_US")));
}

TEST_F(LanguageDetectorTest, PenalisesMissingVowelsAndUnlikelySequences) {
    struct Case {
        std::string text;
        Language language;
        double expected;
    };
    const std::vector<Case> cases = {
        {"hello", Language::english, 0.0},
        {"ghbdtn", Language::english, 5.0},  // four unlikely sequences, one penalty
        {"myth", Language::english, 0.0},
        {"rhythm", Language::english, 0.0},
        {"y", Language::english, 0.0},
        {"rfr", Language::english, 2.0},
        {"qq", Language::english, 5.0},
        {"aqq", Language::english, 3.0},
        {"azxqqjjj", Language::english, 3.0},
        {"", Language::english, 2.0},
        {"привет", Language::english, 2.0},  // Russian vowels are not English ones
        {"дщ", Language::english, 2.0},
        {"руддщ", Language::russian, 2.5},
        {"привет", Language::russian, 0.0},
        {"ёж", Language::russian, 0.0},  // ё is a vowel of its own
        {"е\u0308ж", Language::russian, 0.0},
        {"ки\u0306", Language::russian, 2.0},  // й spelled with a combining breve is not и
        {"щщ", Language::russian, 4.5},
        {"ъъьь", Language::russian, 4.5},
        {"ыыъъььщщдщжэ", Language::russian, 2.5},
        {"жэ", Language::russian, 2.5},
        {"", Language::russian, 2.0},
        {"ghbdtn", Language::russian, 2.0},  // English sequences mean nothing in Russian
        {"hello", Language::russian, 2.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " as " + std::string(languageTag(c.language)));
        EXPECT_DOUBLE_EQ(detector.unlikelySequencePenalty(c.text, c.language), c.expected);
    }
}

// Key events and pasted text can carry broken UTF-8. It must never crash the analysis nor leak into
// what would be typed: the bytes read as U+FFFD, which is no letter, so such a token is never analyzed.
TEST_F(LanguageDetectorTest, IllFormedTokensAreNeverAnalyzedAndNeverCrash) {
    const std::string pool[] = {"g", "h", "b", ".", ",", "\xD0\xBF", "\xD0", "\xBF", "\xE2\x80", "\xF0\x9F\x98", "\xFF", "\xCC\x88"};
    std::mt19937 random(7);
    const WordAnalyzer analyzer;
    for (int round = 0; round < 300; ++round) {
        std::string token;
        const auto length = std::uniform_int_distribution<int>(1, 10)(random);
        for (int i = 0; i < length; ++i) token += pool[std::uniform_int_distribution<std::size_t>(0, 11)(random)];
        SCOPED_TRACE(testing::PrintToString(token));

        const DetectionResult result = detector.evaluateToken(token);
        EXPECT_EQ(result.original, token);
        if (result.direction) {
            EXPECT_TRUE(text::isWellFormed(result.converted));
        }
        if (!text::isWellFormed(token)) {
            EXPECT_FALSE(analyzer.shouldAnalyze(token, {}));
        }
    }
}

}  // namespace
}  // namespace tarvelo
