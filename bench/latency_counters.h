// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include <benchmark/benchmark.h>

namespace tarvelo {

// The spread of single calls, each timed on its own: the median, the 99th percentile and the
// slowest in microseconds, as counters. A slow call is what a typist would notice.
inline void setLatencyCounters(benchmark::State& state, std::vector<double> micros) {
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double quantile) {
        const auto index = static_cast<std::size_t>(quantile * static_cast<double>(micros.size()));
        return micros[std::min(micros.size() - 1, index)];
    };
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
}

}  // namespace tarvelo
