// SPDX-License-Identifier: GPL-3.0-or-later
#include <stdlib.h>

#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/fake/fixed_calendar.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/memory_defaults_store.h"
#include "platform/linux/json_file_defaults_store.h"
#include "store/exception_manager.h"
#include "store/statistics_manager.h"

namespace tarvelo {
namespace {

namespace fs = std::filesystem;

fs::path temporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "tarvelo-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

// Counts one correction on each of 91 days, the most the statistics keep, then times one more.
void timeCorrectionAfterFullRetention(benchmark::State& state, DefaultsStore& store) {
    ManualClock clock(1'796'515'200.0);
    FixedCalendar calendar(0, Weekday::monday);
    StatisticsManager statistics(store, clock, calendar);
    for (int day = 0; day < 91; ++day) {
        statistics.recordCorrection(ConversionDirection::englishToRussian);
        clock.advance(86'400.0);
    }
    for (auto _ : state) statistics.recordCorrection(ConversionDirection::russianToEnglish);
}

// What one confirmed correction costs on disk: the statistics of 91 days re-encoded, then the whole
// defaults file replaced atomically, with both fsyncs. Depends on the disk more than on the code.
void fileStoreStatisticsWrite(benchmark::State& state) {
    const fs::path folder = temporaryFolder();
    {
        desktop::JsonFileDefaultsStore store(folder / "defaults.json");
        timeCorrectionAfterFullRetention(state, store);
        state.counters["file_bytes"] = static_cast<double>(fs::file_size(folder / "defaults.json"));
    }
    fs::remove_all(folder);
}
BENCHMARK(fileStoreStatisticsWrite)->Unit(benchmark::kMicrosecond);

// The same correction counted on the memory store: the manager's own share of the cost.
void memoryStoreStatisticsWrite(benchmark::State& state) {
    MemoryDefaultsStore store;
    timeCorrectionAfterFullRetention(state, store);
}
BENCHMARK(memoryStoreStatisticsWrite)->Unit(benchmark::kMicrosecond);

// The engine reads the exception set for every word it examines; with a long list of exceptions.
void normalizedExceptionWords(benchmark::State& state) {
    MemoryDefaultsStore store;
    DefaultsStringArray words;
    for (int index = 0; index < state.range(0); ++index) words.push_back("Word" + std::to_string(index));
    store.setObject("learning.exceptions", DefaultsValue(words));
    ExceptionManager exceptions(store);
    for (auto _ : state) {
        auto normalized = exceptions.normalizedWords();
        benchmark::DoNotOptimize(normalized);
    }
}
BENCHMARK(normalizedExceptionWords)->Arg(10)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvelo
