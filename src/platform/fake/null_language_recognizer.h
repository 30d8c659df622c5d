// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/language_recognizer.h"

namespace tarvelo {

// A recogniser with no opinion about any text; the counterpart of NullSpellChecker.
class NullLanguageRecognizer final : public LanguageRecognizer {
public:
    LanguageHypotheses languageHypotheses(std::string_view, std::size_t) override { return {}; }
};

}  // namespace tarvelo
