// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "platform/linux/language/enchant_spell_checker.h"
#include "platform/linux/language/letter_model_language_recognizer.h"

namespace tarvelo::desktop {

// The desktop's own signals and a detector over them, loaded before anything is timed.
struct LoadedSignals {
    EnchantSpellChecker spellChecker;
    LetterModelLanguageRecognizer recognizer;
    LanguageDetector detector{LayoutConverter(), spellChecker, recognizer};

    LoadedSignals() {
        spellChecker.check("load", "en_US");
        spellChecker.check("загрузка", "ru_RU");
    }
};

// One set for the whole run.
inline LoadedSignals& loadedSignals() {
    static LoadedSignals signals;
    return signals;
}

}  // namespace tarvelo::desktop
