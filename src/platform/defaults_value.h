// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace tarvelo {

// A moment stored in the defaults, as wall-clock seconds since 1970-01-01 00:00 UTC.
struct DefaultsDate {
    double secondsSince1970 = 0.0;

    friend bool operator==(const DefaultsDate&, const DefaultsDate&) = default;
};

using DefaultsData = std::vector<std::uint8_t>;
using DefaultsStringArray = std::vector<std::string>;

// One stored value, of one of the six kinds a defaults store keeps. The kind survives a restart: a
// date reads back as a date, data as data.
using DefaultsValue = std::variant<bool, double, std::int64_t, DefaultsDate, DefaultsStringArray, DefaultsData>;

using DefaultsValues = std::map<std::string, DefaultsValue, std::less<>>;

}  // namespace tarvelo
