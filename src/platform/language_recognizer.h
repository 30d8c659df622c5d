// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace tarvelo {

// Language tag ("en", "ru") to probability between 0 and 1.
using LanguageHypotheses = std::map<std::string, double, std::less<>>;

// The platform's language recogniser. Each call stands alone, as if a fresh recogniser had processed
// `text`. Called on the main thread; never throws; a recogniser with no opinion answers an empty map.
class LanguageRecognizer {
public:
    virtual ~LanguageRecognizer() = default;
    LanguageRecognizer(const LanguageRecognizer&) = delete;
    LanguageRecognizer& operator=(const LanguageRecognizer&) = delete;

    // At most `maximum` hypotheses for `text` (UTF-8), most probable first in meaning, keyed by tag.
    virtual LanguageHypotheses languageHypotheses(std::string_view text, std::size_t maximum) = 0;

protected:
    LanguageRecognizer() = default;
};

}  // namespace tarvelo
