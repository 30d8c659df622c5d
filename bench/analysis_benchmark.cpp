// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "platform/fake/null_language_recognizer.h"
#include "platform/fake/null_spell_checker.h"

namespace tarvelo {
namespace {

// The verdict on one finished word: the work the engine does after each word boundary.
void evaluateToken(benchmark::State& state, std::string_view token) {
    NullSpellChecker spellChecker;
    NullLanguageRecognizer recognizer;
    LanguageDetector detector(LayoutConverter(), spellChecker, recognizer);
    const std::string text(token);
    for (auto _ : state) {
        DetectionResult result = detector.evaluateToken(text);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations());
}

// Words of the built-in lists, and words found by letter pairs alone.
BENCHMARK_CAPTURE(evaluateToken, english_listed_hello, "hello");
BENCHMARK_CAPTURE(evaluateToken, english_unlisted_keyboard, "keyboard");
BENCHMARK_CAPTURE(evaluateToken, russian_listed_privet, "привет");
BENCHMARK_CAPTURE(evaluateToken, russian_unlisted_klaviatura, "клавиатура");
// Typed in the wrong layout; with full stops the token is scored whole and three more times.
BENCHMARK_CAPTURE(evaluateToken, wrong_layout_ghbdtn, "ghbdtn");
BENCHMARK_CAPTURE(evaluateToken, wrong_layout_three_full_stops, "ghbdtn...");

}  // namespace
}  // namespace tarvelo
