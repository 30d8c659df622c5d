// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarvelo {

// The calendar date of `moment` (seconds since 1970 UTC) in UTC, as "YYYY-MM-DD". Keys sort as text in
// date order. Keys are UTC dates so that a day's record never splits across time zones.
std::string utcDayKey(double moment);

}  // namespace tarvelo
