// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/statistics_manager.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

#include <nlohmann/json.hpp>

#include "store/day_key.h"
#include "store/defaults_keys.h"

namespace tarvelo {
namespace {

std::optional<std::int64_t> count(const nlohmann::json& object, const char* member) {
    const auto found = object.find(member);
    if (found == object.end()) return std::nullopt;
    if (found->is_number_unsigned()) {
        const auto value = found->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
        return static_cast<std::int64_t>(value);
    }
    if (found->is_number_integer()) {
        const auto value = found->get<std::int64_t>();
        // A count is never negative; such a record was not written by this program.
        if (value < 0) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

// Counts that a damaged or edited value made huge stop at the largest one instead of overflowing.
std::int64_t saturatingSum(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return std::numeric_limits<std::int64_t>::max();
    return sum;
}

// The whole value, or none when any part of it is not a complete record. Members may come in any
// order; unknown members are ignored.
std::optional<std::vector<DailyStatistics>> decode(const DefaultsData& bytes) {
    const nlohmann::json json = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (json.is_discarded() || !json.is_array()) return std::nullopt;
    std::vector<DailyStatistics> days;
    days.reserve(json.size());
    for (const nlohmann::json& element : json) {
        if (!element.is_object()) return std::nullopt;
        const auto day = element.find("day");
        if (day == element.end() || !day->is_string()) return std::nullopt;
        const auto englishToRussian = count(element, "englishToRussian");
        const auto russianToEnglish = count(element, "russianToEnglish");
        const auto undoCount = count(element, "undoCount");
        if (!englishToRussian || !russianToEnglish || !undoCount) return std::nullopt;
        days.push_back({day->get<std::string>(), *englishToRussian, *russianToEnglish, *undoCount});
    }
    return days;
}

// Compact UTF-8 JSON with the members in a fixed order, which stored values and their readers rely on.
std::optional<DefaultsData> encode(const std::vector<DailyStatistics>& days) {
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    for (const DailyStatistics& record : days) {
        json.push_back({{"day", record.day},
                        {"englishToRussian", record.englishToRussian},
                        {"russianToEnglish", record.russianToEnglish},
                        {"undoCount", record.undoCount}});
    }
    try {
        const std::string text = json.dump();
        return DefaultsData(text.begin(), text.end());
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

StatisticsManager::StatisticsManager(DefaultsStore& defaults, const Clock& clock, const Calendar& calendar)
    : defaults_(defaults), clock_(clock), calendar_(calendar) {
    const auto stored = defaults_.dataForKey(defaults_keys::dailyStatistics);
    if (!stored) return;
    // An unreadable value stays stored untouched until the next write replaces it.
    auto decoded = decode(*stored);
    if (!decoded) return;
    prune(*decoded);
    days_.set(std::move(*decoded));
}

void StatisticsManager::recordCorrection(ConversionDirection direction) {
    mutateToday([direction](DailyStatistics& record) {
        if (direction == ConversionDirection::englishToRussian) {
            record.englishToRussian = saturatingSum(record.englishToRussian, 1);
        } else {
            record.russianToEnglish = saturatingSum(record.russianToEnglish, 1);
        }
    });
}

void StatisticsManager::recordUndo() {
    mutateToday([](DailyStatistics& record) { record.undoCount = saturatingSum(record.undoCount, 1); });
}

DailyStatistics StatisticsManager::today() const {
    const double now = clock_.now();
    return aggregate(calendar_.startOfDay(now).value_or(now));
}

DailyStatistics StatisticsManager::thisWeek() const {
    const double now = clock_.now();
    if (const auto start = calendar_.startOfWeek(now)) return aggregate(*start);
    return aggregate(calendar_.startOfDay(now).value_or(now));
}

void StatisticsManager::reset() {
    days_.set({});
    persist();
}

void StatisticsManager::mutateToday(const std::function<void(DailyStatistics&)>& change) {
    const std::string key = utcDayKey(clock_.now());
    std::vector<DailyStatistics> days = days_.get();
    // Should the stored list hold a key twice, the first record is the one that counts on.
    auto record = std::find_if(days.begin(), days.end(), [&](const DailyStatistics& day) { return day.day == key; });
    if (record == days.end()) {
        days.push_back({key, 0, 0, 0});
        record = std::prev(days.end());
    }
    change(*record);
    prune(days);
    days_.set(std::move(days));
    persist();
}

void StatisticsManager::prune(std::vector<DailyStatistics>& days) const {
    const auto cutoffMoment = calendar_.addingDays(-kRetentionDays, clock_.now());
    if (!cutoffMoment) return;
    // The record of the cutoff day itself stays: at most 91 days, from the cutoff to today.
    const std::string cutoff = utcDayKey(*cutoffMoment);
    std::erase_if(days, [&](const DailyStatistics& day) { return day.day < cutoff; });
}

void StatisticsManager::persist() {
    if (auto bytes = encode(days_.get())) defaults_.setObject(defaults_keys::dailyStatistics, DefaultsValue(std::move(*bytes)));
}

DailyStatistics StatisticsManager::aggregate(double from) const {
    DailyStatistics total{utcDayKey(from), 0, 0, 0};
    for (const DailyStatistics& day : days_.get()) {
        if (day.day < total.day) continue;
        total.englishToRussian = saturatingSum(total.englishToRussian, day.englishToRussian);
        total.russianToEnglish = saturatingSum(total.russianToEnglish, day.russianToEnglish);
        total.undoCount = saturatingSum(total.undoCount, day.undoCount);
    }
    return total;
}

}  // namespace tarvelo
