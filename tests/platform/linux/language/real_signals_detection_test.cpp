// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"
#include "platform/linux/language/enchant_spell_checker.h"
#include "platform/linux/language/letter_model_language_recognizer.h"

// The typing engine with the desktop's own signals: the hunspell dictionaries and the built-in letter
// model, at the default sensitivity.

namespace tarvelo::desktop {
namespace {

// What the engine types in place of `token` followed by a space, or none when it leaves the token alone.
std::optional<std::string> correctionOf(SimulatedSession& session, const std::string& token) {
    auto field = session.openField();
    session.keyboard.type(token + " ");
    session.wait(1.0);
    if (field->text() == token + " ") return std::nullopt;
    return field->text().substr(0, field->text().size() - 1);
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
    SimulatedSession session({&spellChecker, &recognizer});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        EXPECT_EQ(correctionOf(session, c.token), c.correction);
    }
}

}  // namespace
}  // namespace tarvelo::desktop
