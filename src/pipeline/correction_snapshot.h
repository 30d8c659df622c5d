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
    std::string original;     // the word as the user typed it
    std::string replacement;  // the converted word typed in its place, without delimiter
    std::string delimiter;    // deleted with the word and typed again after the replacement
    ConversionDirection direction = ConversionDirection::englishToRussian;
    std::optional<std::string> bundleIdentifier;  // the application the word was typed in
    double timestamp = 0.0;                       // when the replacement was sent, before it was verified
    // The number of the key that closed the word (see BoundarySnapshot): undo finds the correction behind
    // the keys typed after it.
    std::uint64_t keyCount = 0;
};

}  // namespace tarvelo
