// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_model_language_recognizer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

// The built-in model (data/letter_model.txt) unless a test gives its own.

namespace tarvelo::desktop {
namespace {

double probabilityOf(const LanguageHypotheses& hypotheses, const std::string& tag) {
    const auto found = hypotheses.find(tag);
    return found == hypotheses.end() ? -1.0 : found->second;
}

std::string keysOf(const LanguageHypotheses& hypotheses) {
    std::string keys;
    for (const auto& [tag, probability] : hypotheses) keys += tag + " ";
    return keys;
}

class LetterModelLanguageRecognizerTest : public ::testing::Test {
protected:
    LetterModelLanguageRecognizer recognizer;
};

TEST_F(LetterModelLanguageRecognizerTest, RealWordsAreLikelyAndWordsTypedOnTheWrongLayoutUnlikely) {
    struct Case {
        std::string text;
        std::string tag;
        bool likely;
    };
    const std::vector<Case> cases = {
        {"hello", "en", true},
        {"keyboard", "en", true},
        {"you", "en", true},
        {"don't", "en", true},
        {"well-known", "en", true},
        {"printf", "en", true},  // no dictionary word, but shaped like English
        {"привет", "ru", true},
        {"клавиатура", "ru", true},
        {"программа", "ru", true},
        {"москва", "ru", true},
        {"из-за", "ru", true},
        // привет, клавиатура, москва, программа typed on the English layout.
        {"ghbdtn", "en", false},
        {"rkfdbfnehf", "en", false},
        {"vjcrdf", "en", false},
        {"ghjuhfvvf", "en", false},
        // hello, keyboard, world, please typed on the Russian layout.
        {"руддщ", "ru", false},
        {"лунищфкв", "ru", false},
        {"цщкдв", "ru", false},
        {"здуфыу", "ru", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " as " + c.tag);
        const double probability = probabilityOf(recognizer.languageHypotheses(c.text, 2), c.tag);
        if (c.likely) {
            EXPECT_GE(probability, 0.75);
        } else {
            EXPECT_GE(probability, 0.0);
            EXPECT_LE(probability, 0.05);
        }
    }
}

TEST_F(LetterModelLanguageRecognizerTest, ACharacterOutsideALanguagesAlphabetGivesItZero) {
    struct Case {
        std::string text;
        bool zeroInEnglish;
        bool zeroInRussian;
    };
    const std::vector<Case> cases = {
        {"привет", true, false},
        {"hello", false, true},
        {"hello1", true, true},
        {"a,b", true, true},  // ghbdtn's б is a comma on the English layout
        {"ghbdtn.", true, true},
        {"h\u00E9llo", true, true},
        {"abвг", true, true},
        // Apostrophes and hyphens belong to both alphabets.
        {"it's", false, true},
        {"что-то", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const LanguageHypotheses hypotheses = recognizer.languageHypotheses(c.text, 2);
        ASSERT_EQ(keysOf(hypotheses), "en ru ");
        EXPECT_EQ(probabilityOf(hypotheses, "en") == 0.0, c.zeroInEnglish);
        EXPECT_EQ(probabilityOf(hypotheses, "ru") == 0.0, c.zeroInRussian);
    }
}

TEST_F(LetterModelLanguageRecognizerTest, AnswersAtMostTheRequestedNumberMostProbableFirst) {
    struct Case {
        std::string text;
        std::size_t maximum;
        std::string keys;
    };
    const std::vector<Case> cases = {
        {"hello", 0, ""},       {"hello", 1, "en "},    {"hello", 2, "en ru "},
        {"hello", 10, "en ru "}, {"привет", 1, "ru "},   {"ghbdtn", 1, "en "},
        // Both are 0: the model's order decides.
        {"a,b", 1, "en "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " at most " + std::to_string(c.maximum));
        EXPECT_EQ(keysOf(recognizer.languageHypotheses(c.text, c.maximum)), c.keys);
    }
}

TEST_F(LetterModelLanguageRecognizerTest, TextsWithoutALetterGetNoHypotheses) {
    for (const std::string text : {"", " ", "-", "'", "--'", "123", "\U0001F600", "?!"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(recognizer.languageHypotheses(text, 2).empty());
    }
}

TEST_F(LetterModelLanguageRecognizerTest, CaseCompositionAndYoAreReadAway) {
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"HELLO", "hello"},
        {"Ghbdtn", "ghbdtn"},
        {"ПРИВЕТ", "привет"},
        {"ёлка", "елка"},
        {"е\u0308лка", "ёлка"},
    };
    for (const auto& [variant, plain] : pairs) {
        SCOPED_TRACE(variant);
        EXPECT_EQ(recognizer.languageHypotheses(variant, 2), recognizer.languageHypotheses(plain, 2));
    }
}

// A model of one word against one reference word shows which way the evidence points.
TEST(LetterModelLanguageRecognizerWithAGivenModelTest, FavoursTheModelsWordsOverItsReference) {
    const std::string model =
        "language xx\n"
        "alphabet ab\n"
        // The background weighs nothing here: the reference alone is the alternative.
        "calibration 1.0 0.0 0.0 -1000.0\n"
        "words\n"
        "^^ a3\n^a b3\nab $3\n"
        "reference\n"
        "^^ b3\n^b a3\nba $3\n"
        "end\n";
    LetterModelLanguageRecognizer recognizer(model);
    ASSERT_EQ(recognizer.models().size(), 1u);
    EXPECT_GT(recognizer.languageHypotheses("ab", 1).at("xx"), 0.5);
    EXPECT_LT(recognizer.languageHypotheses("ba", 1).at("xx"), 0.5);
    EXPECT_EQ(recognizer.languageHypotheses("abc", 1).at("xx"), 0.0);
}

TEST(LetterModelLanguageRecognizerWithAGivenModelTest, AnUnusableModelGivesNoHypotheses) {
    const std::vector<std::string> models = {
        "",
        "not a model\n",
        // Digits cannot be letters of an alphabet: counts could not be told from them.
        "language xx\nalphabet a1\ncalibration 1 0 0 0\nwords\n^^ a1\nreference\nend\n",
    };
    for (const std::string& model : models) {
        SCOPED_TRACE(model);
        LetterModelLanguageRecognizer recognizer(model);
        EXPECT_TRUE(recognizer.models().empty());
        EXPECT_TRUE(recognizer.languageHypotheses("hello", 2).empty());
    }
}

}  // namespace
}  // namespace tarvelo::desktop
