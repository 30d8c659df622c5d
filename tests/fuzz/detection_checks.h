// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <string_view>

#include "analysis/language_detector.h"
#include "fuzz_check.h"
#include "text/utf8.h"

// What every verdict on a token must satisfy, whatever the signals: finite scores, a well-formed
// conversion, and the same verdict when asked again.
inline void checkEvaluation(tarvelo::LanguageDetector& detector, std::string_view token) {
    const tarvelo::DetectionResult result = detector.evaluateToken(token);
    FUZZ_CHECK(std::isfinite(result.originalScore) && std::isfinite(result.convertedScore));
    // A token without a conversion comes back as it was given; a conversion is always well-formed.
    if (result.direction || tarvelo::text::isWellFormed(token)) FUZZ_CHECK(tarvelo::text::isWellFormed(result.converted));
    FUZZ_CHECK(detector.evaluateToken(token) == result);
}
