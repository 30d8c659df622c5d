// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "logistic_calibration_fit.h"
#include "platform/linux/language/letter_model_calibration.h"

namespace tarvelo::model {

// Held-out words whose calibrated probability falls in [lower, upper), the last bin closed above.
struct ReliabilityBin {
    double lower = 0.0;
    double upper = 0.0;
    std::size_t realWords = 0;
    std::size_t wrongWords = 0;
    // Averages with both kinds weighted to equal totals, as the calibration was fitted: a well
    // calibrated bin has observedShare close to meanProbability.
    double meanProbability = 0.0;
    double observedShare = 0.0;
};

// Ten bins of width 0.1. Bins without samples are kept, with zero counts and averages.
std::vector<ReliabilityBin> reliabilityBins(const std::vector<CalibrationSample>& samples,
                                            const desktop::LetterModelCalibration& calibration);

// The bins as a Markdown table.
std::string formatReliabilityTable(const std::vector<ReliabilityBin>& bins);

}  // namespace tarvelo::model
