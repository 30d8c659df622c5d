// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/icu_calendar.h"

#include <cmath>

#include <gtest/gtest.h>

#include "platform/fake/fixed_calendar.h"

namespace tarvelo {
namespace {

// Sunday, 6 December 2026, 00:00 UTC.
constexpr double kSundayMidnightUtc = 1'796'515'200.0;
constexpr double kHour = 3'600.0;
constexpr double kDay = 86'400.0;

TEST(IcuCalendar, StartOfDayIsLocalMidnight) {
    struct Case {
        const char* zone;
        double moment;
        double expected;
    };
    const Case cases[] = {
        {"UTC", kSundayMidnightUtc + 5 * kHour, kSundayMidnightUtc},
        // 00:30 Sunday in Moscow is 21:30 Saturday in UTC; Moscow's midnight was 21:00 UTC.
        {"Europe/Moscow", kSundayMidnightUtc - 2.5 * kHour, kSundayMidnightUtc - 3 * kHour},
        // 23:00 Saturday in Los Angeles; its midnight was 08:00 UTC on Saturday.
        {"America/Los_Angeles", kSundayMidnightUtc + 7 * kHour, kSundayMidnightUtc - 16 * kHour},
        {"Asia/Kolkata", kSundayMidnightUtc, kSundayMidnightUtc - 5.5 * kHour},
    };
    for (const Case& testCase : cases) {
        desktop::IcuCalendar calendar(testCase.zone, "en_US");
        EXPECT_EQ(calendar.startOfDay(testCase.moment), testCase.expected) << testCase.zone;
        EXPECT_EQ(calendar.timeZoneIdentifier(), testCase.zone);
    }
}

TEST(IcuCalendar, AddingDaysKeepsTheLocalTimeAcrossDaylightSaving) {
    desktop::IcuCalendar berlin("Europe/Berlin", "de_DE");
    // Noon on Saturday 28 March 2026; summer time starts the next night.
    const double saturdayNoon = 1'774'695'600.0;
    EXPECT_EQ(berlin.addingDays(1, saturdayNoon), saturdayNoon + 23 * kHour);
    // 01:00 in winter time is 01:00 in summer time 90 days earlier: one hour more than 90 × 24 back.
    EXPECT_EQ(berlin.addingDays(-90, kSundayMidnightUtc), kSundayMidnightUtc - 90 * kDay - kHour);
    EXPECT_EQ(berlin.addingDays(0, 0.5), 0.5);
}

TEST(IcuCalendar, WeekStartsOnTheLocalesFirstWeekday) {
    struct Case {
        const char* locale;
        double expected;
    };
    // Sunday noon in UTC: a Monday-first week began six days earlier.
    const Case cases[] = {
        {"ru_RU", kSundayMidnightUtc - 6 * kDay},
        {"en_GB", kSundayMidnightUtc - 6 * kDay},
        {"en_US", kSundayMidnightUtc},
    };
    for (const Case& testCase : cases) {
        desktop::IcuCalendar calendar("UTC", testCase.locale);
        EXPECT_EQ(calendar.startOfWeek(kSundayMidnightUtc + 12 * kHour), testCase.expected) << testCase.locale;
    }
}

TEST(IcuCalendar, AgreesWithTheFixedCalendarOfTheFakePlatform) {
    desktop::IcuCalendar moscow("Europe/Moscow", "ru_RU");
    FixedCalendar fixed(3 * kHour, Weekday::monday);
    for (double moment = kSundayMidnightUtc - 10 * kDay; moment < kSundayMidnightUtc + 10 * kDay; moment += 7 * kHour) {
        EXPECT_EQ(moscow.startOfDay(moment), fixed.startOfDay(moment)) << moment;
        EXPECT_EQ(moscow.startOfWeek(moment), fixed.startOfWeek(moment)) << moment;
        EXPECT_EQ(moscow.addingDays(-90, moment), fixed.addingDays(-90, moment)) << moment;
    }
}

TEST(IcuCalendar, MomentsThatAreNotNumbersGiveNone) {
    desktop::IcuCalendar calendar("UTC", "en_US");
    EXPECT_EQ(calendar.startOfDay(std::nan("")), std::nullopt);
    EXPECT_EQ(calendar.startOfWeek(HUGE_VAL), std::nullopt);
}

}  // namespace
}  // namespace tarvelo
