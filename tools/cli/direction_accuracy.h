// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "accuracy_tally.h"
#include "analysis/conversion_direction.h"
#include "word_outcome.h"

namespace tarvelo::cli {

// How well the engine converts in one direction. Its false corrections are measured on correctly
// typed text of the direction's source language (English for englishToRussian), its recall on words
// of the target language typed on the source layout (Russian words typed on the English layout).
struct DirectionAccuracy {
    ConversionDirection direction = ConversionDirection::englishToRussian;
    AccuracyTally falseCorrections;
    AccuracyTally recall;
    // At the reported sensitivity: the correctly typed words that would be changed, and the words
    // typed on the wrong layout that would not come back exactly.
    std::vector<WordOutcome> changed;
    std::vector<WordOutcome> missed;
};

}  // namespace tarvelo::cli
