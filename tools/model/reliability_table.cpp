// SPDX-License-Identifier: GPL-3.0-or-later
#include "reliability_table.h"

#include <algorithm>
#include <cstdio>

namespace tarvelo::model {
namespace {

constexpr std::size_t kBins = 10;

std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

}  // namespace

std::vector<ReliabilityBin> reliabilityBins(const std::vector<CalibrationSample>& samples,
                                            const desktop::LetterModelCalibration& calibration) {
    double real = 0.0;
    double wrong = 0.0;
    for (const CalibrationSample& sample : samples) (sample.realWord ? real : wrong) += sample.weight;
    const double realWeight = real == 0.0 ? 0.0 : 0.5 / real;
    const double wrongWeight = wrong == 0.0 ? 0.0 : 0.5 / wrong;

    std::vector<ReliabilityBin> bins(kBins);
    std::vector<double> weight(kBins, 0.0);
    std::vector<double> realMass(kBins, 0.0);
    std::vector<double> probabilityMass(kBins, 0.0);
    for (std::size_t i = 0; i < kBins; ++i) {
        bins[i].lower = static_cast<double>(i) / kBins;
        bins[i].upper = static_cast<double>(i + 1) / kBins;
    }
    for (const CalibrationSample& sample : samples) {
        const double p = calibration.probability(sample.evidence);
        const std::size_t bin = std::min(kBins - 1, static_cast<std::size_t>(p * kBins));
        const double w = sample.weight * (sample.realWord ? realWeight : wrongWeight);
        (sample.realWord ? bins[bin].realWords : bins[bin].wrongWords) += 1;
        weight[bin] += w;
        probabilityMass[bin] += w * p;
        if (sample.realWord) realMass[bin] += w;
    }
    for (std::size_t i = 0; i < kBins; ++i) {
        if (weight[i] == 0.0) continue;
        bins[i].meanProbability = probabilityMass[i] / weight[i];
        bins[i].observedShare = realMass[i] / weight[i];
    }
    return bins;
}

std::string formatReliabilityTable(const std::vector<ReliabilityBin>& bins) {
    std::string out =
        "| predicted | mean predicted | observed share of real words | real words | wrong-layout words |\n"
        "|---|---|---|---|---|\n";
    for (const ReliabilityBin& bin : bins) {
        const bool last = &bin == &bins.back();
        out += "| [" + fixed(bin.lower, 1) + "–" + fixed(bin.upper, 1) + (last ? "]" : ")") + " | ";
        if (bin.realWords + bin.wrongWords == 0) {
            out += "– | – | 0 | 0 |\n";
            continue;
        }
        out += fixed(bin.meanProbability, 3) + " | " + fixed(bin.observedShare, 3) + " | " +
               std::to_string(bin.realWords) + " | " + std::to_string(bin.wrongWords) + " |\n";
    }
    return out;
}

}  // namespace tarvelo::model
