// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fixed_calendar.h"

#include <cmath>
#include <utility>

namespace tarvelo {
namespace {

constexpr double kSecondsPerDay = 86'400.0;

}  // namespace

FixedCalendar::FixedCalendar(double utcOffsetSeconds, Weekday firstWeekday, std::string zoneIdentifier)
    : utcOffsetSeconds_(utcOffsetSeconds), firstWeekday_(firstWeekday), zoneIdentifier_(std::move(zoneIdentifier)) {}

std::optional<double> FixedCalendar::startOfDay(double moment) const {
    if (failing_) return std::nullopt;
    const double localDay = std::floor((moment + utcOffsetSeconds_) / kSecondsPerDay);
    return localDay * kSecondsPerDay - utcOffsetSeconds_;
}

std::optional<double> FixedCalendar::addingDays(int days, double moment) const {
    if (failing_) return std::nullopt;
    return moment + days * kSecondsPerDay;
}

std::optional<double> FixedCalendar::startOfWeek(double moment) const {
    if (failing_) return std::nullopt;
    const double localDay = std::floor((moment + utcOffsetSeconds_) / kSecondsPerDay);
    // 1970-01-01 was a Thursday.
    const int weekday = static_cast<int>(std::fmod(std::fmod(localDay + 4.0, 7.0) + 7.0, 7.0));
    const int daysIntoWeek = (weekday - static_cast<int>(firstWeekday_) + 7) % 7;
    return (localDay - daysIntoWeek) * kSecondsPerDay - utcOffsetSeconds_;
}

}  // namespace tarvelo
