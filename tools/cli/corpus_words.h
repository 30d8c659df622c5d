// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/language.h"

namespace tarvelo::cli {

// The words of a corpus of running text, cut where the typing engine closes a word, each distinct
// word once with how often it occurs.
//
// A word belongs to the corpus's language when it is written in that language's script, told apart
// as the layout converter tells the layouts apart: an English word has ASCII letters and no Cyrillic
// ones (U+0400–U+04FF), a Russian word the other way round. Words with letters of both scripts or of
// neither (numbers, symbols, other alphabets) are counted but not kept.
class CorpusWords {
public:
    struct Word {
        std::string text;
        std::uint64_t occurrences = 0;
    };

    // `text` must be well-formed UTF-8.
    CorpusWords(std::string_view text, Language language);

    Language language() const { return language_; }

    // The words of the language, most frequent first, equally frequent ones in byte order.
    const std::vector<Word>& words() const { return words_; }

    // How many words of the language the corpus holds, repeats included.
    std::uint64_t occurrences() const { return occurrences_; }

    // How many other words it holds, repeats included, and how many of them are distinct.
    std::uint64_t otherOccurrences() const { return otherOccurrences_; }
    std::uint64_t otherDistinct() const { return otherDistinct_; }

private:
    Language language_;
    std::vector<Word> words_;
    std::uint64_t occurrences_ = 0;
    std::uint64_t otherOccurrences_ = 0;
    std::uint64_t otherDistinct_ = 0;
};

}  // namespace tarvelo::cli
