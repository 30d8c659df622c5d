// SPDX-License-Identifier: GPL-3.0-or-later
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "platform/linux/language/enchant_spell_checker.h"
#include "platform/linux/language/letter_model_language_recognizer.h"
#include "latency_counters.h"
#include "loaded_signals.h"

// The work after a word boundary with the desktop's own signals: the hunspell dictionaries through
// Enchant and the built-in letter model. Dictionaries are loaded before anything is timed, except in
// the loading benchmarks, which also report the memory that loading takes.

namespace tarvelo::desktop {
namespace {

// Resident memory of the process, from /proc/self/statm.
double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0;
    std::uint64_t resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Memory that malloc keeps after a free would hide reuse before and inflate the size after; hand it
// back to the system before each reading.
double residentMegabytesAfterTrim() {
    malloc_trim(0);
    return residentMegabytes();
}

// The heap in use, which unlike the resident size leaves out memory freed but kept by malloc (the
// parsing of the model frees most of what it allocates).
double heapMegabytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// The verdict on one finished word, with real dictionaries: a listed word needs no spelling check,
// the others one or two per score; "ghbdtn..." is scored whole and three more times.
void evaluateTokenWithSystemSignals(benchmark::State& state, std::string_view token) {
    LanguageDetector& detector = loadedSignals().detector;
    const std::string text(token);
    for (auto _ : state) {
        DetectionResult result = detector.evaluateToken(text);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, english_listed_hello, "hello");
BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, english_dictionary_keyboard, "keyboard");
BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, russian_listed_privet, "привет");
BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, russian_dictionary_klaviatura, "клавиатура");
BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, wrong_layout_ghbdtn, "ghbdtn");
BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, wrong_layout_ntcn, "ntcn");
BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, wrong_layout_vjcrdf, "vjcrdf");
BENCHMARK_CAPTURE(evaluateTokenWithSystemSignals, wrong_layout_three_full_stops, "ghbdtn...");

// The spread of single calls over a mix of those words, each call timed on its own: the median and
// the 99th percentile in microseconds, as counters. A slow call is what a typist would notice.
void evaluateTokenWithSystemSignalsLatency(benchmark::State& state) {
    LanguageDetector& detector = loadedSignals().detector;
    const std::vector<std::string> words = {"hello",  "keyboard", "привет", "клавиатура",
                                            "ghbdtn", "ntcn",     "vjcrdf", "ghbdtn..."};
    std::vector<double> micros;
    std::size_t next = 0;
    for (auto _ : state) {
        const std::string& word = words[next];
        next = (next + 1) % words.size();
        const auto start = std::chrono::steady_clock::now();
        DetectionResult result = detector.evaluateToken(word);
        const auto stop = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(result);
        const double seconds = std::chrono::duration<double>(stop - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    setLatencyCounters(state, std::move(micros));
}
BENCHMARK(evaluateTokenWithSystemSignalsLatency)->UseManualTime();

// One spelling check of a lower-cased word, as the detector asks for it.
void enchantCheck(benchmark::State& state, std::string_view word, std::string_view language) {
    EnchantSpellChecker& checker = loadedSignals().spellChecker;
    const std::string text(word);
    const std::string tag(language);
    for (auto _ : state) {
        SpellingResult result = checker.check(text, tag);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(enchantCheck, english_word, "keyboard", "en_US");
BENCHMARK_CAPTURE(enchantCheck, english_misspelled, "ghbdtn", "en_US");
BENCHMARK_CAPTURE(enchantCheck, russian_word, "клавиатура", "ru_RU");
BENCHMARK_CAPTURE(enchantCheck, russian_misspelled, "руддщ", "ru_RU");

// One recogniser call with the detector's maximum of two hypotheses.
void recognizerHypotheses(benchmark::State& state, std::string_view word) {
    LetterModelLanguageRecognizer& recognizer = loadedSignals().recognizer;
    const std::string text(word);
    for (auto _ : state) {
        LanguageHypotheses hypotheses = recognizer.languageHypotheses(text, 2);
        benchmark::DoNotOptimize(hypotheses);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(recognizerHypotheses, english_word, "keyboard");
BENCHMARK_CAPTURE(recognizerHypotheses, russian_word, "клавиатура");
BENCHMARK_CAPTURE(recognizerHypotheses, wrong_layout, "ghbdtn");

// Loading one dictionary into a fresh checker, and the memory it adds: resident (rss_MB) and heap in
// use (heap_MB).
void loadDictionary(benchmark::State& state, std::string_view language, std::string_view word) {
    const std::string tag(language);
    const std::string text(word);
    double resident = 0.0;
    double heap = 0.0;
    for (auto _ : state) {
        const double residentBefore = residentMegabytesAfterTrim();
        const double heapBefore = heapMegabytes();
        auto checker = std::make_unique<EnchantSpellChecker>();
        SpellingResult result = checker->check(text, tag);
        benchmark::DoNotOptimize(result);
        state.PauseTiming();
        resident += residentMegabytesAfterTrim() - residentBefore;
        heap += heapMegabytes() - heapBefore;
        checker.reset();
        state.ResumeTiming();
    }
    state.counters["rss_MB"] = benchmark::Counter(resident, benchmark::Counter::kAvgIterations);
    state.counters["heap_MB"] = benchmark::Counter(heap, benchmark::Counter::kAvgIterations);
}

BENCHMARK_CAPTURE(loadDictionary, en_US, "en_US", "load")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(loadDictionary, ru_RU, "ru_RU", "загрузка")->Unit(benchmark::kMillisecond)->Iterations(5);

// Building the recogniser from the embedded model text, and the memory its tables take.
void loadLetterModel(benchmark::State& state) {
    double resident = 0.0;
    double heap = 0.0;
    for (auto _ : state) {
        const double residentBefore = residentMegabytesAfterTrim();
        const double heapBefore = heapMegabytes();
        auto recognizer = std::make_unique<LetterModelLanguageRecognizer>();
        benchmark::DoNotOptimize(recognizer->models().size());
        state.PauseTiming();
        resident += residentMegabytesAfterTrim() - residentBefore;
        heap += heapMegabytes() - heapBefore;
        recognizer.reset();
        state.ResumeTiming();
    }
    state.counters["rss_MB"] = benchmark::Counter(resident, benchmark::Counter::kAvgIterations);
    state.counters["heap_MB"] = benchmark::Counter(heap, benchmark::Counter::kAvgIterations);
}

BENCHMARK(loadLetterModel)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace tarvelo::desktop
