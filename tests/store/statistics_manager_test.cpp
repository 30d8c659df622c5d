// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/statistics_manager.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fixed_calendar.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/memory_defaults_store.h"
#include "store/day_key.h"
#include "store/defaults_keys.h"

namespace tarvelo {
namespace {

// Sunday, 6 December 2026, 00:00 UTC.
constexpr double kSundayMidnightUtc = 1'796'515'200.0;
constexpr double kHour = 3'600.0;
constexpr double kDay = 86'400.0;

DefaultsData bytes(std::string_view text) { return DefaultsData(text.begin(), text.end()); }

std::string storedText(const MemoryDefaultsStore& store) {
    const auto data = store.dataForKey(defaults_keys::dailyStatistics);
    return data ? std::string(data->begin(), data->end()) : "<none>";
}

struct StatisticsFixture : ::testing::Test {
    MemoryDefaultsStore store;
    ManualClock clock{kSundayMidnightUtc + 12 * kHour};
    FixedCalendar utc{0, Weekday::monday, "UTC"};
};

TEST(DayKey, IsTheUtcDateInFourTwoTwoDigits) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "1970-01-01"},
        {-1.0, "1969-12-31"},
        {kSundayMidnightUtc - 1.0, "2026-12-05"},
        {kSundayMidnightUtc, "2026-12-06"},
        {951'782'400.0, "2000-02-29"},
        {253'402'300'799.0, "9999-12-31"},
    };
    for (const auto& [moment, key] : cases) EXPECT_EQ(utcDayKey(moment), key) << moment;
}

TEST_F(StatisticsFixture, CountsGoToOneRecordPerDayStoredAsCompactJson) {
    StatisticsManager statistics(store, clock, utc);
    statistics.recordCorrection(ConversionDirection::englishToRussian);
    EXPECT_EQ(statistics.days().get(), (std::vector<DailyStatistics>{{"2026-12-06", 1, 0, 0}}));
    statistics.recordCorrection(ConversionDirection::russianToEnglish);
    statistics.recordUndo();
    EXPECT_EQ(statistics.days().get(), (std::vector<DailyStatistics>{{"2026-12-06", 1, 1, 1}}));
    statistics.recordCorrection(ConversionDirection::englishToRussian);
    statistics.recordCorrection(ConversionDirection::englishToRussian);
    statistics.recordUndo();

    clock.advance(kDay);
    statistics.recordCorrection(ConversionDirection::russianToEnglish);
    EXPECT_EQ(storedText(store),
              R"([{"day":"2026-12-06","englishToRussian":3,"russianToEnglish":1,"undoCount":2},)"
              R"({"day":"2026-12-07","englishToRussian":0,"russianToEnglish":1,"undoCount":0}])");

    StatisticsManager restarted(store, clock, utc);
    EXPECT_EQ(restarted.days().get(), statistics.days().get());
}

TEST_F(StatisticsFixture, DayKeysAreUtcDatesWhateverTheZone) {
    struct Case {
        const char* name;
        double utcOffset;
        double now;
        const char* recordedUnder;
        const char* todayStartsAt;
    };
    const Case cases[] = {
        // Moscow, 00:30 on Sunday: still Saturday in UTC.
        {"ahead of UTC", 3 * kHour, kSundayMidnightUtc - 2.5 * kHour, "2026-12-05", "2026-12-05"},
        // Los Angeles, 23:00 on Saturday: already Sunday in UTC.
        {"behind UTC", -8 * kHour, kSundayMidnightUtc + 7 * kHour, "2026-12-06", "2026-12-05"},
    };
    for (const Case& testCase : cases) {
        MemoryDefaultsStore caseStore;
        ManualClock caseClock(testCase.now);
        FixedCalendar calendar(testCase.utcOffset, Weekday::monday);
        StatisticsManager statistics(caseStore, caseClock, calendar);
        statistics.recordCorrection(ConversionDirection::englishToRussian);
        ASSERT_EQ(statistics.days().get().size(), 1u) << testCase.name;
        EXPECT_EQ(statistics.days().get()[0].day, testCase.recordedUnder) << testCase.name;
        EXPECT_EQ(statistics.today(), (DailyStatistics{testCase.todayStartsAt, 1, 0, 0})) << testCase.name;
    }
}

TEST_F(StatisticsFixture, TodayHasNoUpperBoundAndThisWeekFollowsTheFirstWeekday) {
    // Tuesday 1 December, Saturday 5, Sunday 6 and a record dated after today.
    store.setObject(defaults_keys::dailyStatistics,
                    DefaultsValue(bytes(R"([{"day":"2026-12-01","englishToRussian":1,"russianToEnglish":0,"undoCount":0},)"
                                        R"({"day":"2026-12-05","englishToRussian":10,"russianToEnglish":0,"undoCount":0},)"
                                        R"({"day":"2026-12-06","englishToRussian":100,"russianToEnglish":2,"undoCount":1},)"
                                        R"({"day":"2026-12-09","englishToRussian":1000,"russianToEnglish":0,"undoCount":0}])")));
    FixedCalendar mondayFirst(0, Weekday::monday);
    FixedCalendar sundayFirst(0, Weekday::sunday);
    StatisticsManager monday(store, clock, mondayFirst);
    StatisticsManager sunday(store, clock, sundayFirst);

    EXPECT_EQ(monday.today(), (DailyStatistics{"2026-12-06", 1100, 2, 1}));
    EXPECT_EQ(monday.thisWeek(), (DailyStatistics{"2026-11-30", 1111, 2, 1}));
    EXPECT_EQ(sunday.thisWeek(), (DailyStatistics{"2026-12-06", 1100, 2, 1}));

    FixedCalendar failing(0, Weekday::monday);
    failing.setFailing(true);
    EXPECT_EQ(StatisticsManager(store, clock, failing).thisWeek(), (DailyStatistics{"2026-12-06", 1100, 2, 1}));
}

TEST_F(StatisticsFixture, RecordsOlderThanNinetyDaysGoAtLoadAndLeaveStorageAtTheNextWrite) {
    const std::string stored = R"([{"day":"2026-09-06","englishToRussian":1,"russianToEnglish":0,"undoCount":0},)"
                               R"({"day":"2026-09-07","englishToRussian":2,"russianToEnglish":0,"undoCount":0}])";
    store.setObject(defaults_keys::dailyStatistics, DefaultsValue(bytes(stored)));
    StatisticsManager statistics(store, clock, utc);
    EXPECT_EQ(statistics.days().get(), (std::vector<DailyStatistics>{{"2026-09-07", 2, 0, 0}}));
    EXPECT_EQ(storedText(store), stored);  // loading writes nothing

    statistics.recordUndo();
    EXPECT_EQ(storedText(store), R"([{"day":"2026-09-07","englishToRussian":2,"russianToEnglish":0,"undoCount":0},)"
                                 R"({"day":"2026-12-06","englishToRussian":0,"russianToEnglish":0,"undoCount":1}])");

    // A calendar that cannot go back 90 days prunes nothing.
    FixedCalendar failing(0, Weekday::monday);
    failing.setFailing(true);
    store.setObject(defaults_keys::dailyStatistics, DefaultsValue(bytes(stored)));
    EXPECT_EQ(StatisticsManager(store, clock, failing).days().get().size(), 2u);
}

TEST_F(StatisticsFixture, UnreadableValuesStartEmptyAndStayStoredUntilTheNextWrite) {
    const std::pair<const char*, DefaultsValue> cases[] = {
        {"not JSON", DefaultsValue(bytes("{oops"))},
        {"not an array", DefaultsValue(bytes(R"({"day":"2026-12-06"})"))},
        {"missing undoCount", DefaultsValue(bytes(R"([{"day":"2026-12-06","englishToRussian":1,"russianToEnglish":0}])"))},
        {"count as text", DefaultsValue(bytes(R"([{"day":"2026-12-06","englishToRussian":"1","russianToEnglish":0,"undoCount":0}])"))},
        {"fractional count", DefaultsValue(bytes(R"([{"day":"2026-12-06","englishToRussian":1.5,"russianToEnglish":0,"undoCount":0}])"))},
        {"count beyond 64 bits", DefaultsValue(bytes(R"([{"day":"2026-12-06","englishToRussian":9223372036854775808,"russianToEnglish":0,"undoCount":0}])"))},
        {"negative count", DefaultsValue(bytes(R"([{"day":"2026-12-06","englishToRussian":1,"russianToEnglish":-1,"undoCount":0}])"))},
        {"text instead of data", DefaultsValue(DefaultsStringArray{"[]"})},
    };
    for (const auto& [name, value] : cases) {
        store.setObject(defaults_keys::dailyStatistics, value);
        StatisticsManager statistics(store, clock, utc);
        EXPECT_TRUE(statistics.days().get().empty()) << name;
        EXPECT_EQ(store.object(defaults_keys::dailyStatistics), value) << name;
        statistics.recordCorrection(ConversionDirection::russianToEnglish);
        EXPECT_EQ(storedText(store), R"([{"day":"2026-12-06","englishToRussian":0,"russianToEnglish":1,"undoCount":0}])")
            << name;
    }
}

TEST_F(StatisticsFixture, ReadersAcceptAnyMemberOrderExtraMembersAndRepeatedDays) {
    store.setObject(defaults_keys::dailyStatistics,
                    DefaultsValue(bytes(R"([{"undoCount":1,"note":"x","russianToEnglish":2,"day":"2026-12-06","englishToRussian":3},)"
                                        R"({"day":"2026-12-06","englishToRussian":5,"russianToEnglish":0,"undoCount":0}])")));
    StatisticsManager statistics(store, clock, utc);
    EXPECT_EQ(statistics.today(), (DailyStatistics{"2026-12-06", 8, 2, 1}));
    statistics.recordCorrection(ConversionDirection::englishToRussian);
    // The first record of a repeated day is the one that counts on.
    EXPECT_EQ(statistics.days().get(), (std::vector<DailyStatistics>{{"2026-12-06", 4, 2, 1}, {"2026-12-06", 5, 0, 0}}));
}

// Found by fuzzing: the largest counts of a damaged value overflowed when summed and when counted on.
TEST_F(StatisticsFixture, HugeStoredCountsStopAtTheLargestCount) {
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    store.setObject(defaults_keys::dailyStatistics,
                    DefaultsValue(bytes(R"([{"day":"2026-12-05","englishToRussian":9223372036854775807,"russianToEnglish":1,"undoCount":0},)"
                                        R"({"day":"2026-12-06","englishToRussian":3,"russianToEnglish":9223372036854775807,"undoCount":9223372036854775807}])")));
    StatisticsManager statistics(store, clock, utc);
    EXPECT_EQ(statistics.thisWeek(), (DailyStatistics{"2026-11-30", kMost, kMost, kMost}));
    statistics.recordCorrection(ConversionDirection::russianToEnglish);
    statistics.recordUndo();
    EXPECT_EQ(statistics.today(), (DailyStatistics{"2026-12-06", 3, kMost, kMost}));
}

TEST_F(StatisticsFixture, ResetStoresAnEmptyList) {
    StatisticsManager statistics(store, clock, utc);
    EXPECT_EQ(statistics.today(), (DailyStatistics{"2026-12-06", 0, 0, 0}));
    statistics.recordCorrection(ConversionDirection::englishToRussian);
    int notified = 0;
    const Subscription subscription = statistics.days().subscribe([&](const auto&) { ++notified; });
    statistics.reset();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(storedText(store), "[]");
    EXPECT_EQ(statistics.today(), (DailyStatistics{"2026-12-06", 0, 0, 0}));
    EXPECT_EQ(statistics.thisWeek(), (DailyStatistics{"2026-11-30", 0, 0, 0}));
}

}  // namespace
}  // namespace tarvelo
