// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/icu_calendar.h"

#include <cmath>
#include <utility>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace tarvelo::desktop {
namespace {

std::unique_ptr<icu::TimeZone> zoneNamed(const std::optional<std::string>& identifier) {
    if (!identifier) return std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone());
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(*identifier)));
}

std::optional<double> momentOf(const icu::Calendar& calendar) {
    UErrorCode status = U_ZERO_ERROR;
    const UDate milliseconds = calendar.getTime(status);
    if (U_FAILURE(status)) return std::nullopt;
    return milliseconds / 1000.0;
}

void clearTimeOfDay(icu::Calendar& calendar) {
    calendar.set(UCAL_HOUR_OF_DAY, 0);
    calendar.set(UCAL_MINUTE, 0);
    calendar.set(UCAL_SECOND, 0);
    calendar.set(UCAL_MILLISECOND, 0);
}

}  // namespace

IcuCalendar::IcuCalendar() = default;

IcuCalendar::IcuCalendar(std::string zoneIdentifier, std::string locale)
    : zoneIdentifier_(std::move(zoneIdentifier)), locale_(std::move(locale)) {}

IcuCalendar::~IcuCalendar() = default;

std::unique_ptr<icu::Calendar> IcuCalendar::calendarAt(double moment) const {
    if (!std::isfinite(moment)) return nullptr;
    const icu::Locale locale = locale_ ? icu::Locale(locale_->c_str()) : icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    // createInstance takes the zone over.
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(zoneNamed(zoneIdentifier_).release(), locale, status));
    if (U_FAILURE(status) || !calendar) return nullptr;
    calendar->setTime(moment * 1000.0, status);
    if (U_FAILURE(status)) return nullptr;
    return calendar;
}

std::optional<double> IcuCalendar::startOfDay(double moment) const {
    const auto calendar = calendarAt(moment);
    if (!calendar) return std::nullopt;
    clearTimeOfDay(*calendar);
    return momentOf(*calendar);
}

std::optional<double> IcuCalendar::addingDays(int days, double moment) const {
    const auto calendar = calendarAt(moment);
    if (!calendar) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    calendar->add(UCAL_DATE, days, status);
    if (U_FAILURE(status)) return std::nullopt;
    return momentOf(*calendar);
}

std::optional<double> IcuCalendar::startOfWeek(double moment) const {
    const auto calendar = calendarAt(moment);
    if (!calendar) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const int weekday = calendar->get(UCAL_DAY_OF_WEEK, status);
    const int firstWeekday = calendar->getFirstDayOfWeek(status);
    if (U_FAILURE(status)) return std::nullopt;
    calendar->add(UCAL_DATE, -((weekday - firstWeekday + 7) % 7), status);
    if (U_FAILURE(status)) return std::nullopt;
    clearTimeOfDay(*calendar);
    return momentOf(*calendar);
}

std::string IcuCalendar::timeZoneIdentifier() const {
    const auto zone = zoneNamed(zoneIdentifier_);
    icu::UnicodeString identifier;
    zone->getID(identifier);
    std::string text;
    identifier.toUTF8String(text);
    return text;
}

}  // namespace tarvelo::desktop
