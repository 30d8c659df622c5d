// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "analysis/layout_converter.h"

namespace tarvelo {

// Words that the analyzer must never touch, each as its text::comparisonKey (lower-cased, canonical
// composed form), so that one hashed lookup matches every capitalisation and every canonically
// equivalent spelling of the token. Whoever builds the set keys it that way.
using ExceptionWords = std::unordered_set<std::string>;

// Decides whether a token may be scored at all. A pure predicate over a constant word list.
class WordAnalyzer {
public:
    WordAnalyzer();

    // The 23 lower-case technical words that are never corrected ("git", "json", "localhost", ...).
    const std::unordered_set<std::string>& protectedTechnicalWords() const { return protectedTechnicalWords_; }

    // False for anything that must be left alone: shorter than 3 or longer than 32 characters, an
    // exception or technical word in any case, digits, addresses, paths, code-like tokens, abbreviations,
    // characters that are neither letters nor layout punctuation, a tie of scripts, or a conversion that
    // would not be a plain word.
    bool shouldAnalyze(std::string_view text, const ExceptionWords& exceptions) const;

    // Has lower-case and upper-case characters, and an upper-case one after the first ("iPhone").
    bool looksLikeCode(std::string_view text) const;

    // At most 6 characters, and every letter among them upper-case ("NASA-X"; no letters counts too).
    bool looksLikeAbbreviation(std::string_view text) const;

private:
    std::unordered_set<std::string> protectedTechnicalWords_;
    LayoutConverter converter_;
};

}  // namespace tarvelo
