// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/conversion_direction.h"

namespace tarvelo {

// The last automatic correction, kept in memory so that it can be undone. Like BoundarySnapshot it
// has no equality; its identity is its `timestamp`.
struct CorrectionSnapshot {
    std::string original;     // the text as the user typed it: the word, or a span of words ending with it
    std::string replacement;  // the converted text typed in its place, without delimiter
    std::string delimiter;    // deleted with the text and typed again after the replacement; may be empty
    std::string learnedWord;  // the word an undo adds to the exceptions: the one the correction was made for
    ConversionDirection direction = ConversionDirection::englishToRussian;
    std::optional<std::string> bundleIdentifier;  // the application the word was typed in
    double timestamp = 0.0;                       // when the replacement was sent, before it was verified
    // The number of the key that closed the word (see BoundarySnapshot): undo finds the correction behind
    // the keys typed after it.
    std::uint64_t keyCount = 0;
};

}  // namespace tarvelo
