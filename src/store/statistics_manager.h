// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/conversion_direction.h"
#include "platform/calendar.h"
#include "platform/defaults_store.h"
#include "store/daily_statistics.h"
#include "support/clock.h"
#include "support/observable.h"

namespace tarvelo {

// Counts of confirmed corrections per direction and of undos, one record per UTC day, for the last 90
// days. No words and no application names are kept.
class StatisticsManager {
public:
    static constexpr int kRetentionDays = 90;

    StatisticsManager(DefaultsStore& defaults, const Clock& clock, const Calendar& calendar);
    StatisticsManager(const StatisticsManager&) = delete;
    StatisticsManager& operator=(const StatisticsManager&) = delete;

    // In insertion order: a new day is appended.
    const Observable<std::vector<DailyStatistics>>& days() const { return days_; }

    void recordCorrection(ConversionDirection direction);
    void recordUndo();

    // Sums from the UTC date of local midnight today, and of the start of this week, with no upper bound.
    DailyStatistics today() const;
    DailyStatistics thisWeek() const;

    // Empties the list and stores the empty list.
    void reset();

private:
    void mutateToday(const std::function<void(DailyStatistics&)>& change);
    void prune(std::vector<DailyStatistics>& days) const;
    void persist();
    DailyStatistics aggregate(double from) const;

    DefaultsStore& defaults_;
    const Clock& clock_;
    const Calendar& calendar_;
    Observable<std::vector<DailyStatistics>> days_;
};

}  // namespace tarvelo
