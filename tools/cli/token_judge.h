// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "analysis/detection_result.h"
#include "analysis/language_detector.h"
#include "analysis/word_analyzer.h"
#include "pipeline/auto_switch_engine.h"
#include "store/settings_manager.h"
#include "signals.h"

namespace tarvelo::cli {

// The confidence setting that the application starts with.
inline constexpr double kDefaultSensitivity = SettingsManager::kDefaultSensitivity;

// How far the converted form must outscore the token for a correction: 1.6 at sensitivity 0, 4.4 at 1.
inline double requiredMargin(double sensitivity) { return AutoSwitchEngine::requiredMargin(sensitivity); }

// The margin rule of the typing engine: a margin exactly at the required margin corrects, a NaN
// margin never does.
inline bool meetsRequiredMargin(double margin, double sensitivity) { return margin >= requiredMargin(sensitivity); }

struct Arguments;

// What --sensitivity and --signals ask for, else the defaults; a bad value is a usage error.
double sensitivityOption(const Arguments& parsed);
SignalSource signalSourceOption(const Arguments& parsed);

// What the typing engine would make of one finished word.
struct TokenVerdict {
    DetectionResult result;
    // result.convertedScore − result.originalScore.
    double margin = 0.0;
    // The word analyzer lets the token be scored (no exception words).
    bool analyzed = false;
    // Analyzed, with a direction, and classified as typed in the wrong layout: the engine corrects
    // it at every sensitivity whose required margin `margin` meets.
    bool wrongLayout = false;
    // Typed in the wrong layout and winning by at least the required margin of the judge's
    // sensitivity: the engine would type result.converted in its place.
    bool correct = false;
};

// Judges tokens the way the typing engine judges a finished word, with the user's exception list
// empty. Not copyable: the detector refers to the signals it owns.
class TokenJudge {
public:
    TokenJudge(Signals signals, double sensitivity);
    TokenJudge(const TokenJudge&) = delete;
    TokenJudge& operator=(const TokenJudge&) = delete;

    TokenVerdict judge(std::string_view token);

private:
    Signals signals_;
    LanguageDetector detector_;
    WordAnalyzer analyzer_;
    ExceptionWords noExceptions_;
    double sensitivity_;
};

}  // namespace tarvelo::cli
