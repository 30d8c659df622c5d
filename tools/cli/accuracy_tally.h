// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvelo::cli {

// One measure over the distinct words of a corpus, each weighted by how often it occurs, to be read
// at any sensitivity. Each word's margin is found once; reading the tally at a sensitivity compares
// the stored margins with that sensitivity's required margin, by the typing engine's margin rule.
//
// A hit is what the measure counts: for false corrections a correctly typed word that the engine
// would change, for recall a word typed on the wrong layout that it would turn back into exactly the
// word meant.
class AccuracyTally {
public:
    // Word lengths in characters: 1–2, 3, 4, 5, 6–7, 8 and more.
    static constexpr std::size_t kLengthClasses = 6;
    static std::size_t lengthClass(std::size_t characters);
    // "1-2", "3", "4", "5", "6-7", "8+".
    static std::string_view lengthClassName(std::size_t lengthClass);

    // Words counted with their repeats, and distinct words.
    struct Count {
        std::uint64_t occurrences = 0;
        std::uint64_t distinct = 0;

        Count& operator+=(const Count& other);
        friend bool operator==(const Count&, const Count&) = default;
    };

    struct Reading {
        Count words;
        // Words that the word analyzer never lets be scored, whatever the sensitivity.
        Count rejected;
        Count hits;

        Reading& operator+=(const Reading& other);
        friend bool operator==(const Reading&, const Reading&) = default;
    };

    // One distinct word of `characters` characters that occurs `occurrences` times. `analyzed`: the
    // word analyzer lets it be scored. `margin`: present when the word is a hit at every sensitivity
    // whose required margin it meets, absent when it is a hit at none. A word that is not analyzed is
    // never a hit.
    void add(std::size_t characters, std::uint64_t occurrences, bool analyzed, std::optional<double> margin);

    bool empty() const;

    // The words of each length class at `sensitivity`, in the order of the classes.
    std::array<Reading, kLengthClasses> byLength(double sensitivity) const;

    // All words at `sensitivity`.
    Reading overall(double sensitivity) const;

    // Where a tally is read across the settings: 0, 0.05, ..., 1 and `reported`, ascending, each once.
    static std::vector<double> sweepSensitivities(double reported);

private:
    struct Entry {
        std::uint64_t occurrences = 0;
        bool analyzed = false;
        std::optional<double> margin;
    };

    std::array<std::vector<Entry>, kLengthClasses> entries_;
};

}  // namespace tarvelo::cli
