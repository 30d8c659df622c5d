// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelo::desktop {

// How often each letter trigram occurs in a set of words, with word-boundary marks: a word "ab" adds
// "^^a", "^ab" and "ab$". Keys are three scalars; '^' stands for the start of a word (only in the first
// two places) and '$' for its end (only in the last).
class LetterTrigramCounts {
public:
    static constexpr char32_t kWordStart = U'^';
    static constexpr char32_t kWordEnd = U'$';

    using Map = std::map<std::u32string, std::uint64_t>;

    // Counts the trigrams of one word, given as its scalars, `count` times. The empty word adds nothing.
    void addWord(std::u32string_view word, std::uint64_t count = 1);

    // Adds `count` occurrences of one trigram; keys that are not three scalars are ignored.
    void add(std::u32string_view trigram, std::uint64_t count);

    const Map& trigrams() const { return trigrams_; }
    bool empty() const { return trigrams_.empty(); }

    // One line per two-scalar context, in code point order: the context, then for every scalar that
    // follows it a space, the scalar and its count ("th e1234 a560 $12"). The same counts always give
    // the same text.
    std::string format() const;

    // Reads one line written by format() and adds its counts. False when the line is not of that form.
    bool addFormattedLine(std::string_view line);

private:
    Map trigrams_;
};

}  // namespace tarvelo::desktop
