// SPDX-License-Identifier: GPL-3.0-or-later
#include "accuracy_tally.h"

#include <algorithm>

#include "token_judge.h"

namespace tarvelo::cli {
namespace {

// The shortest length of each class; a class ends where the next begins.
constexpr std::array<std::size_t, AccuracyTally::kLengthClasses> kClassStarts{0, 3, 4, 5, 6, 8};
constexpr std::array<std::string_view, AccuracyTally::kLengthClasses> kClassNames{"1-2", "3", "4", "5", "6-7", "8+"};

constexpr int kSweepSteps = 20;

}  // namespace

std::size_t AccuracyTally::lengthClass(std::size_t characters) {
    const auto after = std::upper_bound(kClassStarts.begin(), kClassStarts.end(), characters);
    return static_cast<std::size_t>(after - kClassStarts.begin()) - 1;
}

std::string_view AccuracyTally::lengthClassName(std::size_t lengthClass) { return kClassNames.at(lengthClass); }

AccuracyTally::Count& AccuracyTally::Count::operator+=(const Count& other) {
    occurrences += other.occurrences;
    distinct += other.distinct;
    return *this;
}

AccuracyTally::Reading& AccuracyTally::Reading::operator+=(const Reading& other) {
    words += other.words;
    rejected += other.rejected;
    hits += other.hits;
    return *this;
}

void AccuracyTally::add(std::size_t characters, std::uint64_t occurrences, bool analyzed,
                        std::optional<double> margin) {
    entries_[lengthClass(characters)].push_back({occurrences, analyzed, analyzed ? margin : std::nullopt});
}

bool AccuracyTally::empty() const {
    return std::all_of(entries_.begin(), entries_.end(), [](const auto& entries) { return entries.empty(); });
}

std::array<AccuracyTally::Reading, AccuracyTally::kLengthClasses> AccuracyTally::byLength(double sensitivity) const {
    std::array<Reading, kLengthClasses> readings;
    for (std::size_t lengthClass = 0; lengthClass < kLengthClasses; ++lengthClass) {
        Reading& reading = readings[lengthClass];
        for (const Entry& entry : entries_[lengthClass]) {
            const Count count{entry.occurrences, 1};
            reading.words += count;
            if (!entry.analyzed) reading.rejected += count;
            if (entry.margin && meetsRequiredMargin(*entry.margin, sensitivity)) reading.hits += count;
        }
    }
    return readings;
}

AccuracyTally::Reading AccuracyTally::overall(double sensitivity) const {
    Reading total;
    for (const Reading& reading : byLength(sensitivity)) total += reading;
    return total;
}

std::vector<double> AccuracyTally::sweepSensitivities(double reported) {
    std::vector<double> sensitivities;
    for (int step = 0; step <= kSweepSteps; ++step) sensitivities.push_back(step / static_cast<double>(kSweepSteps));
    if (std::find(sensitivities.begin(), sensitivities.end(), reported) == sensitivities.end()) {
        sensitivities.insert(std::upper_bound(sensitivities.begin(), sensitivities.end(), reported), reported);
    }
    return sensitivities;
}

}  // namespace tarvelo::cli
