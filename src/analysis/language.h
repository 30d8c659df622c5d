// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "analysis/conversion_direction.h"

namespace tarvelo {

// The two languages that the detector scores.
enum class Language { english, russian };

// The language tag used towards the platform's recogniser: "en" or "ru".
std::string_view languageTag(Language language);

// The language a text converted in `direction` was typed in, and the one it becomes.
Language sourceLanguage(ConversionDirection direction);
Language targetLanguage(ConversionDirection direction);

}  // namespace tarvelo
