// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace tarvelo {

// The user's calendar: their time zone and the first day of their week. Moments are wall-clock seconds
// since 1970-01-01 00:00 UTC. A calculation the calendar cannot make answers none. Called on the main
// thread. An implementation follows later changes of the user's time zone.
class Calendar {
public:
    virtual ~Calendar() = default;
    Calendar(const Calendar&) = delete;
    Calendar& operator=(const Calendar&) = delete;

    // Local midnight at the start of the day that holds `moment`.
    virtual std::optional<double> startOfDay(double moment) const = 0;

    // The same local time of day `days` days later (earlier when negative); across a daylight-saving
    // change the result moves by 23 or 25 hours, not 24.
    virtual std::optional<double> addingDays(int days, double moment) const = 0;

    // The first moment of the week that holds `moment`; weeks start on the locale's first weekday.
    virtual std::optional<double> startOfWeek(double moment) const = 0;

    // The time zone's identifier, such as "Europe/Moscow".
    virtual std::string timeZoneIdentifier() const = 0;

protected:
    Calendar() = default;
};

}  // namespace tarvelo
