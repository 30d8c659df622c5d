// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "platform/linux/language/letter_model_calibration.h"

namespace tarvelo::model {

// One held-out word: the model's evidence, whether it is a real word of the language, and how much it
// counts among the words of its kind.
struct CalibrationSample {
    desktop::LetterEvidence evidence;
    bool realWord = false;
    double weight = 1.0;
};

// The calibration with the given background weight whose other numbers maximise the likelihood of the
// samples, with real words and wrong-layout words weighted to equal totals (so 0.5 means "as likely one
// as the other") and a tiny ridge on the weights so that separable samples still give finite numbers.
// Newton's method from zero; deterministic.
desktop::LetterModelCalibration fitCalibration(const std::vector<CalibrationSample>& samples,
                                               double backgroundLogWeight);

}  // namespace tarvelo::model
