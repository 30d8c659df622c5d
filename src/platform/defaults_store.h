// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/defaults_value.h"

namespace tarvelo {

// The per-user key-value store that keeps everything between runs. A write is visible to every later
// read at once and survives a restart; nothing needs saving at quit. Values registered with
// `registerDefaults` answer reads of keys without a stored value and are never persisted. Called on the
// main thread; never throws: a store that cannot persist keeps working in memory and says so in
// `problem()`.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;
    DefaultsStore(const DefaultsStore&) = delete;
    DefaultsStore& operator=(const DefaultsStore&) = delete;

    // Adds to the registration domain; a later registration of the same key replaces the earlier one.
    virtual void registerDefaults(const DefaultsValues& values) = 0;

    // The stored value of whatever kind, else the registered one, else none.
    virtual std::optional<DefaultsValue> object(std::string_view key) const = 0;

    // Stores `value` under `key`; none removes the key, so later reads see no stored value.
    virtual void setObject(std::string_view key, std::optional<DefaultsValue> value) = 0;

    // Why the store cannot keep its values beyond this run (or had to set a damaged file aside), in
    // words a person can act on; none while all is well.
    virtual std::optional<std::string> problem() const { return std::nullopt; }

    // A boolean reads numbers as "not zero"; anything else is false.
    bool boolForKey(std::string_view key) const {
        const auto value = object(key);
        if (!value) return false;
        if (const auto* flag = std::get_if<bool>(&*value)) return *flag;
        if (const auto* integer = std::get_if<std::int64_t>(&*value)) return *integer != 0;
        if (const auto* number = std::get_if<double>(&*value)) return *number != 0.0;
        return false;
    }

    double doubleForKey(std::string_view key) const {
        const auto value = object(key);
        if (!value) return 0.0;
        if (const auto* number = std::get_if<double>(&*value)) return *number;
        if (const auto* integer = std::get_if<std::int64_t>(&*value)) return static_cast<double>(*integer);
        if (const auto* flag = std::get_if<bool>(&*value)) return *flag ? 1.0 : 0.0;
        return 0.0;
    }

    // Numbers outside the 64-bit range, NaN included, read as 0.
    std::int64_t integerForKey(std::string_view key) const {
        const auto value = object(key);
        if (!value) return 0;
        if (const auto* integer = std::get_if<std::int64_t>(&*value)) return *integer;
        if (const auto* flag = std::get_if<bool>(&*value)) return *flag ? 1 : 0;
        if (const auto* number = std::get_if<double>(&*value)) {
            if (std::isfinite(*number) && std::abs(*number) < 9.2e18) return static_cast<std::int64_t>(*number);
        }
        return 0;
    }

    std::optional<DefaultsStringArray> stringArrayForKey(std::string_view key) const {
        auto value = object(key);
        if (!value) return std::nullopt;
        if (auto* strings = std::get_if<DefaultsStringArray>(&*value)) return std::move(*strings);
        return std::nullopt;
    }

    std::optional<DefaultsData> dataForKey(std::string_view key) const {
        auto value = object(key);
        if (!value) return std::nullopt;
        if (auto* data = std::get_if<DefaultsData>(&*value)) return std::move(*data);
        return std::nullopt;
    }

    void setBool(std::string_view key, bool value) { setObject(key, DefaultsValue(value)); }
    void setDouble(std::string_view key, double value) { setObject(key, DefaultsValue(value)); }
    void setInteger(std::string_view key, std::int64_t value) { setObject(key, DefaultsValue(value)); }
    void remove(std::string_view key) { setObject(key, std::nullopt); }

protected:
    DefaultsStore() = default;
};

}  // namespace tarvelo
