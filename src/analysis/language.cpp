// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/language.h"

namespace tarvelo {

std::string_view languageTag(Language language) { return language == Language::english ? "en" : "ru"; }

Language sourceLanguage(ConversionDirection direction) {
    return direction == ConversionDirection::englishToRussian ? Language::english : Language::russian;
}

Language targetLanguage(ConversionDirection direction) {
    return direction == ConversionDirection::englishToRussian ? Language::russian : Language::english;
}

}  // namespace tarvelo
