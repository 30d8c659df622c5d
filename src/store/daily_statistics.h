// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tarvelo {

// One day's counts, identified by its UTC day key; also an aggregate over days from `day` on.
struct DailyStatistics {
    std::string day;
    std::int64_t englishToRussian = 0;
    std::int64_t russianToEnglish = 0;
    std::int64_t undoCount = 0;

    friend bool operator==(const DailyStatistics&, const DailyStatistics&) = default;
};

}  // namespace tarvelo
