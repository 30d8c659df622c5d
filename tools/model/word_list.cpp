// SPDX-License-Identifier: GPL-3.0-or-later
#include "word_list.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "text/case_mapping.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo::model {

std::optional<std::u32string> wordOf(std::string_view text, const desktop::LetterAlphabet& alphabet) {
    const auto folded = alphabet.folded(text::scalars(text::comparisonKey(text)));
    if (!folded || std::none_of(folded->begin(), folded->end(), text::isAlphabetic)) return std::nullopt;
    return folded;
}

bool addWordsOfFile(const std::string& path, const desktop::LetterAlphabet& alphabet, WordSet& words,
                    std::size_t& skipped, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    const std::string text = contents.str();
    if (const auto offset = text::firstIllFormedOffset(text)) {
        error = path + " is not UTF-8 (first bad byte at offset " + std::to_string(*offset) + ")";
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
        while (!line.empty() && blank(line.back())) line.remove_suffix(1);
        while (!line.empty() && blank(line.front())) line.remove_prefix(1);
        if (line.empty()) continue;
        if (auto word = wordOf(line, alphabet)) {
            words.insert(std::move(*word));
        } else {
            ++skipped;
        }
    }
    return true;
}

bool isHeldOut(std::u32string_view word) {
    // FNV-1a over the scalars.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char32_t scalar : word) {
        hash ^= static_cast<std::uint64_t>(scalar);
        hash *= 1099511628211ull;
    }
    return hash % 10 == 0;
}

}  // namespace tarvelo::model
