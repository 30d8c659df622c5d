// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "analysis/conversion_direction.h"
#include "analysis/language_classification.h"

namespace tarvelo {

// The detector's verdict on one token. The decision margin (convertedScore − originalScore) is left
// to the consumer.
struct DetectionResult {
    std::string original;
    std::string converted;
    LanguageClassification classification = LanguageClassification::unknown;
    std::optional<ConversionDirection> direction;
    double originalScore = 0.0;
    double convertedScore = 0.0;
};

// All six fields equal: texts by canonical equivalence, scores by floating-point equality (so a result
// with a NaN score equals nothing, itself included).
bool operator==(const DetectionResult& a, const DetectionResult& b);

}  // namespace tarvelo
