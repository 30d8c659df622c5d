// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_model_calibration.h"

#include <algorithm>
#include <cmath>

namespace tarvelo::desktop {

double LetterModelCalibration::logRatio(const LetterEvidence& evidence) const {
    // ln(exp(a) + exp(b)), computed from the larger so that neither exponential underflows to 0.
    const double a = evidence.referenceLogLikelihood;
    const double b = evidence.backgroundLogLikelihood + backgroundLogWeight;
    const double larger = std::max(a, b);
    const double alternative = larger + std::log1p(std::exp(std::min(a, b) - larger));
    return evidence.wordLogLikelihood - alternative;
}

double LetterModelCalibration::probability(const LetterEvidence& evidence) const {
    if (evidence.trigrams == 0) return 0.0;
    const double ratio = logRatio(evidence);
    const double z = ratioWeight * ratio + averageWeight * ratio / static_cast<double>(evidence.trigrams) + intercept;
    // Written so that neither branch overflows for large |z|.
    if (z >= 0.0) return 1.0 / (1.0 + std::exp(-z));
    const double e = std::exp(z);
    return e / (1.0 + e);
}

}  // namespace tarvelo::desktop
