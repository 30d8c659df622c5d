// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/day_key.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tarvelo {

std::string utcDayKey(double moment) {
    // Civil date from a day count (Howard Hinnant's days_from_civil, inverted), exact for every day a
    // double moment can name within the four-digit years that keys hold.
    const double clamped = std::isfinite(moment) ? std::clamp(moment, -62'135'596'800.0, 253'402'300'799.0) : 0.0;
    const std::int64_t days = static_cast<std::int64_t>(std::floor(clamped / 86'400.0));
    const std::int64_t z = days + 719'468;
    const std::int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
    const std::int64_t dayOfEra = z - era * 146'097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    char key[64];
    std::snprintf(key, sizeof key, "%04lld-%02lld-%02lld", static_cast<long long>(year), static_cast<long long>(month),
                  static_cast<long long>(day));
    return key;
}

}  // namespace tarvelo
