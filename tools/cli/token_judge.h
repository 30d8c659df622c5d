#pragma once

#include <string_view>

#include "analysis/detection_result.h"
#include "analysis/language_detector.h"
#include "analysis/word_analyzer.h"
#include "signals.h"

namespace tarvelo::cli {

// The confidence setting that the application starts with.
inline constexpr double kDefaultSensitivity = 0.72;

// How far the converted form must outscore the token for a correction: 1.6 at sensitivity 0, 4.4 at 1.
double requiredMargin(double sensitivity);

// What the typing engine would make of one finished word.
struct TokenVerdict {
    DetectionResult result;
    // result.convertedScore − result.originalScore.
    double margin = 0.0;
    // The word analyzer lets the token be scored (no exception words).
    bool analyzed = false;
    // Analyzed, typed in the wrong layout, and winning by at least the required margin: the engine
    // would type result.converted in its place.
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
    double requiredMargin_;
};

}  // namespace tarvelo::cli
