// SPDX-License-Identifier: GPL-3.0-or-later
#include "token_judge.h"

#include <utility>

#include "analysis/layout_converter.h"
#include "arguments.h"

namespace tarvelo::cli {
namespace {

bool isWrongLayout(LanguageClassification classification) {
    return classification == LanguageClassification::wrongEnglishLayoutIntendedRussian ||
           classification == LanguageClassification::wrongRussianLayoutIntendedEnglish;
}

}  // namespace

TokenJudge::TokenJudge(Signals signals, double sensitivity)
    : signals_(std::move(signals)),
      detector_(LayoutConverter(), signals_.spellChecker(), signals_.recognizer()),
      sensitivity_(sensitivity) {}

TokenVerdict TokenJudge::judge(std::string_view token) {
    TokenVerdict verdict;
    verdict.result = detector_.evaluateToken(token);
    verdict.margin = verdict.result.convertedScore - verdict.result.originalScore;
    verdict.analyzed = analyzer_.shouldAnalyze(token, noExceptions_);
    verdict.wrongLayout = verdict.analyzed && verdict.result.direction.has_value() &&
                          isWrongLayout(verdict.result.classification);
    verdict.correct = verdict.wrongLayout && meetsRequiredMargin(verdict.margin, sensitivity_);
    return verdict;
}

double sensitivityOption(const Arguments& parsed) {
    const auto value = parsed.option("sensitivity");
    return value ? parseSensitivity(*value) : kDefaultSensitivity;
}

SignalSource signalSourceOption(const Arguments& parsed) {
    const auto value = parsed.option("signals");
    return value ? parseSignalSource(*value) : kDefaultSignalSource;
}

}  // namespace tarvelo::cli
