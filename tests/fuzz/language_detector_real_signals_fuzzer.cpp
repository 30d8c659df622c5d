// SPDX-License-Identifier: GPL-3.0-or-later
// LanguageDetector::evaluateToken on arbitrary tokens with the desktop's own signals: Enchant with the
// hunspell dictionaries and the built-in letter model.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/language_detector.h"
#include "detection_checks.h"
#include "platform/linux/language/enchant_spell_checker.h"
#include "platform/linux/language/letter_model_language_recognizer.h"

using namespace tarvelo;

namespace {

LanguageDetector& detector() {
    static desktop::EnchantSpellChecker spellChecker;
    static desktop::LetterModelLanguageRecognizer recognizer;
    static LanguageDetector detector(LayoutConverter(), spellChecker, recognizer);
    return detector;
}

}  // namespace

// Each dictionary loads on the first word that needs it, which takes longer than one input may; both
// are loaded before the first input, through words that no built-in list holds.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (const char* word : {"ntcn", "ghbdtn", "руддщ", "vjcrdf"}) (void)detector().evaluateToken(word);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkEvaluation(detector(), std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
