// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <benchmark/benchmark.h>

#include "pipeline/word_buffer.h"
#include "text/characters.h"

namespace tarvelo {
namespace {

// One key press of ordinary typing: the word is fed character by character, as the keyboard
// monitor feeds it, and the closing space hands it back. Reported per key.
void appendPerKey(benchmark::State& state, std::string_view typed) {
    std::vector<std::string> keys;
    for (std::string_view character : text::characters(typed)) keys.emplace_back(character);

    WordBuffer buffer;
    for (auto _ : state) {
        for (const std::string& key : keys) {
            auto closed = buffer.append(key);
            benchmark::DoNotOptimize(closed);
        }
        benchmark::ClobberMemory();
    }
    const auto keyCount = static_cast<std::int64_t>(keys.size());
    state.SetItemsProcessed(state.iterations() * keyCount);
    state.counters["time_per_key"] = benchmark::Counter(static_cast<double>(state.iterations() * keyCount),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_CAPTURE(appendPerKey, russian_word, "привет ");
BENCHMARK_CAPTURE(appendPerKey, wrong_layout_word, "ghbdtn ");

}  // namespace
}  // namespace tarvelo
