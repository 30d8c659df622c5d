#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "platform/linux/enchant_spell_checker.h"
#include "platform/linux/letter_model_language_recognizer.h"

// The detector with the desktop's own signals: the hunspell dictionaries and the built-in letter model.

namespace tarvelo::desktop {
namespace {

// What the typing engine requires at the default sensitivity 0.72: 2.8 × 0.72 + 1.6.
constexpr double kDefaultRequiredMargin = 3.616;

// The text the engine would type in place of `token`, or none when it leaves the token alone.
std::optional<std::string> correctionOf(LanguageDetector& detector, const std::string& token) {
    const DetectionResult result = detector.evaluateToken(token);
    const bool wrongLayout = result.classification == LanguageClassification::wrongEnglishLayoutIntendedRussian ||
                             result.classification == LanguageClassification::wrongRussianLayoutIntendedEnglish;
    if (!result.direction || !wrongLayout) return std::nullopt;
    if (result.convertedScore - result.originalScore < kDefaultRequiredMargin) return std::nullopt;
    return result.converted;
}

TEST(RealSignalsDetectionTest, CorrectsWordsTypedOnTheWrongLayoutAndLeavesRealWordsAlone) {
    struct Case {
        std::string token;
        std::optional<std::string> correction;
    };
    const std::vector<Case> cases = {
        {"ghbdtn", "привет"},
        {"Ghbdtn,", "Привет,"},
        {"руддщ", "hello"},
        {"rkfdbfnehf", "клавиатура"},
        // The built-in lists alone leave тест 10/3 ahead, short of the margin; the dictionary adds 8.
        {"ntcn", "тест"},
        // A proper noun in lower case is no dictionary word; the letter model carries it.
        {"vjcrdf", "москва"},
        {"hello", std::nullopt},
        {"привет", std::nullopt},
        {"the", std::nullopt},
        {"you", std::nullopt},
        {"keyboard", std::nullopt},
        {"клавиатура", std::nullopt},
        {"printf", std::nullopt},
        {"linux", std::nullopt},
    };
    EnchantSpellChecker spellChecker;
    LetterModelLanguageRecognizer recognizer;
    LanguageDetector detector(LayoutConverter(), spellChecker, recognizer);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        EXPECT_EQ(correctionOf(detector, c.token), c.correction);
    }
}

}  // namespace
}  // namespace tarvelo::desktop
