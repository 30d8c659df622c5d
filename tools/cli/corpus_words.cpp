// SPDX-License-Identifier: GPL-3.0-or-later
#include "corpus_words.h"

#include <algorithm>
#include <unordered_map>

#include "closed_words.h"
#include "text/utf8.h"

namespace tarvelo::cli {
namespace {

bool isWrittenIn(std::string_view word, Language language) {
    std::size_t latin = 0;
    std::size_t cyrillic = 0;
    text::forEachScalar(word, [&](char32_t scalar) {
        if ((scalar >= U'A' && scalar <= U'Z') || (scalar >= U'a' && scalar <= U'z')) ++latin;
        if (scalar >= 0x0400 && scalar <= 0x04FF) ++cyrillic;
    });
    return language == Language::english ? latin > 0 && cyrillic == 0 : cyrillic > 0 && latin == 0;
}

}  // namespace

CorpusWords::CorpusWords(std::string_view text, Language language) : language_(language) {
    std::unordered_map<std::string, std::uint64_t> counts;
    forEachClosedWord(text, [&](std::string_view word, std::size_t) { ++counts[std::string(word)]; });

    for (auto& [word, occurrences] : counts) {
        if (isWrittenIn(word, language)) {
            occurrences_ += occurrences;
            words_.push_back({word, occurrences});
        } else {
            otherOccurrences_ += occurrences;
            ++otherDistinct_;
        }
    }
    std::sort(words_.begin(), words_.end(), [](const Word& a, const Word& b) {
        return a.occurrences != b.occurrences ? a.occurrences > b.occurrences : a.text < b.text;
    });
}

}  // namespace tarvelo::cli
