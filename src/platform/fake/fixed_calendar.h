// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/calendar.h"

namespace tarvelo {

enum class Weekday { sunday = 0, monday, tuesday, wednesday, thursday, friday, saturday };

// A calendar in a zone with a fixed offset from UTC and no daylight saving, with a given first
// weekday, so that tests can place "now" just before or after local midnight.
class FixedCalendar final : public Calendar {
public:
    FixedCalendar(double utcOffsetSeconds, Weekday firstWeekday, std::string zoneIdentifier = "Fixed");

    std::optional<double> startOfDay(double moment) const override;
    std::optional<double> addingDays(int days, double moment) const override;
    std::optional<double> startOfWeek(double moment) const override;
    std::string timeZoneIdentifier() const override { return zoneIdentifier_; }

    // Makes every calculation answer none, as a calendar that cannot compute a date does.
    void setFailing(bool failing) { failing_ = failing; }

private:
    double utcOffsetSeconds_;
    Weekday firstWeekday_;
    std::string zoneIdentifier_;
    bool failing_ = false;
};

}  // namespace tarvelo
