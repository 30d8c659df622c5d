// SPDX-License-Identifier: GPL-3.0-or-later
// The stored daily statistics on arbitrary bytes: the manager reads them at start, sums them for the
// statistics page and counts on.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "platform/fake/fixed_calendar.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/memory_defaults_store.h"
#include "store/statistics_manager.h"

using namespace tarvelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // Around the present, so that stored day keys fall inside and outside the kept 90 days.
    ManualClock clock(provider.ConsumeFloatingPointInRange<double>(1.6e9, 1.9e9));
    const int action = provider.ConsumeIntegralInRange<int>(0, 3);
    const auto bytes = provider.ConsumeRemainingBytes<std::uint8_t>();

    MemoryDefaultsStore defaults;
    defaults.setObject("statistics.daily.v1", DefaultsValue(DefaultsData(bytes.begin(), bytes.end())));
    FixedCalendar calendar(0.0, Weekday::monday, "UTC");
    StatisticsManager statistics(defaults, clock, calendar);
    (void)statistics.today();
    (void)statistics.thisWeek();
    if (action == 0) statistics.recordCorrection(ConversionDirection::englishToRussian);
    if (action == 1) statistics.recordCorrection(ConversionDirection::russianToEnglish);
    if (action == 2) statistics.recordUndo();
    for (const DailyStatistics& day : statistics.days().get()) {
        FUZZ_CHECK(day.englishToRussian >= 0 && day.russianToEnglish >= 0 && day.undoCount >= 0);
    }
    const DailyStatistics week = statistics.thisWeek();
    FUZZ_CHECK(week.englishToRussian >= 0 && week.russianToEnglish >= 0 && week.undoCount >= 0);

    // What was stored reads back the same.
    StatisticsManager restarted(defaults, clock, calendar);
    FUZZ_CHECK(restarted.days().get() == statistics.days().get());
    return 0;
}
