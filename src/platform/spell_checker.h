// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_range.h"

namespace tarvelo {

// The outcome of checking the spelling of a text in one language.
struct SpellingResult {
    // The first misspelled word, in UTF-16 units from the start of the text; none when all is spelled right.
    std::optional<TextRange> firstMisspelled;
    // How many words the checker found in the text.
    std::size_t wordCount = 0;
};

// The platform's spelling dictionaries. Called on the main thread; never throws. A checker that has no
// dictionaries answers no languages, and checking in a language it lacks finds no words.
class SpellChecker {
public:
    virtual ~SpellChecker() = default;
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // The identifiers of the installed dictionaries, in the platform's order (for example "en_US", "ru_RU").
    virtual std::vector<std::string> availableLanguages() = 0;

    // Checks all of `text` (UTF-8) from its start, without wrapping, in `language` (an identifier
    // from availableLanguages).
    virtual SpellingResult check(std::string_view text, std::string_view language) = 0;

protected:
    SpellChecker() = default;
};

}  // namespace tarvelo
