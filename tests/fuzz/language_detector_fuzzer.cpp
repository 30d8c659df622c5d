// SPDX-License-Identifier: GPL-3.0-or-later
// LanguageDetector::evaluateToken on arbitrary tokens with the built-in lists alone.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/language_detector.h"
#include "detection_checks.h"
#include "platform/fake/null_language_recognizer.h"
#include "platform/fake/null_spell_checker.h"

using namespace tarvelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullSpellChecker spellChecker;
    static NullLanguageRecognizer recognizer;
    static LanguageDetector detector(LayoutConverter(), spellChecker, recognizer);
    checkEvaluation(detector, std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
