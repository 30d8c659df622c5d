// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/detection_result.h"

#include "text/normalization.h"

namespace tarvelo {

bool operator==(const DetectionResult& a, const DetectionResult& b) {
    return text::canonicallyEqual(a.original, b.original) && text::canonicallyEqual(a.converted, b.converted) &&
           a.classification == b.classification && a.direction == b.direction &&
           a.originalScore == b.originalScore && a.convertedScore == b.convertedScore;
}

}  // namespace tarvelo
