// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "analysis/conversion_direction.h"

namespace tarvelo {

// A correction of the text before the caret that ends with the keys that closed the last word.
struct RunDecision {
    ConversionDirection direction = ConversionDirection::englishToRussian;
    // How many words of the run before the closing word the span begins with (short words that read
    // right only next to the closing word).
    std::size_t precedingWords = 0;
    // The span as the field holds it before the caret: the preceding words with their gaps, the
    // closing word and the key that closed it. Nothing is replaced unless the field reads exactly this.
    std::string expected;
    // What replaces the span.
    std::string replacement;
    // The closing word as typed without its punctuation keys, and what it becomes: the pair that an
    // undo learns as an exception.
    std::string mainWord;
    std::string mainReplacement;

    // The words with letters among them that the decision corrects: numbers and punctuation keys
    // converted along with them are not counted.
    std::size_t wordCount = 1;

    // The words the decision corrects, for the statistics.
    std::size_t correctedWords() const { return wordCount; }

    friend bool operator==(const RunDecision&, const RunDecision&) = default;
};

}  // namespace tarvelo
