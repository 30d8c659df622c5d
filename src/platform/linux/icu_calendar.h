// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/calendar.h"

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Calendar;
U_NAMESPACE_END

namespace tarvelo::desktop {

// The user's calendar through ICU: the Gregorian calendar in the host's time zone, looked up afresh at
// every call so that a change of zone is followed, with the first weekday of the user's locale.
class IcuCalendar final : public Calendar {
public:
    IcuCalendar();
    // A fixed zone ("Europe/Moscow") and locale ("ru_RU"), for tests and tools.
    IcuCalendar(std::string zoneIdentifier, std::string locale);
    ~IcuCalendar() override;

    std::optional<double> startOfDay(double moment) const override;
    std::optional<double> addingDays(int days, double moment) const override;
    std::optional<double> startOfWeek(double moment) const override;
    std::string timeZoneIdentifier() const override;

private:
    // A calendar set to `moment`, or nullptr when ICU cannot make one.
    std::unique_ptr<icu::Calendar> calendarAt(double moment) const;

    std::optional<std::string> zoneIdentifier_;
    std::optional<std::string> locale_;
};

}  // namespace tarvelo::desktop
