// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_trigram_counts.h"

#include <charconv>

#include "text/utf8.h"

namespace tarvelo::desktop {

void LetterTrigramCounts::addWord(std::u32string_view word, std::uint64_t count) {
    if (word.empty() || count == 0) return;
    std::u32string bounded;
    bounded.reserve(word.size() + 3);
    bounded += kWordStart;
    bounded += kWordStart;
    bounded += word;
    bounded += kWordEnd;
    for (std::size_t i = 0; i + 3 <= bounded.size(); ++i) trigrams_[bounded.substr(i, 3)] += count;
}

void LetterTrigramCounts::add(std::u32string_view trigram, std::uint64_t count) {
    if (trigram.size() != 3 || count == 0) return;
    trigrams_[std::u32string(trigram)] += count;
}

std::string LetterTrigramCounts::format() const {
    std::string out;
    std::u32string_view context;
    for (const auto& [trigram, count] : trigrams_) {
        const std::u32string_view key = trigram;
        if (key.substr(0, 2) != context) {
            if (!out.empty()) out += '\n';
            context = key.substr(0, 2);
            out += text::fromScalars(context);
        }
        out += ' ';
        text::appendScalar(out, key[2]);
        out += std::to_string(count);
    }
    if (!out.empty()) out += '\n';
    return out;
}

bool LetterTrigramCounts::addFormattedLine(std::string_view line) {
    std::u32string trigram;
    std::size_t offset = 0;
    for (int i = 0; i < 2; ++i) {
        const text::DecodedScalar decoded = text::decodeScalar(line, offset);
        if (decoded.length == 0 || decoded.scalar == U' ') return false;
        trigram += decoded.scalar;
        offset += decoded.length;
    }
    Map parsed;
    while (offset < line.size()) {
        if (line[offset] != ' ') return false;
        ++offset;
        const text::DecodedScalar decoded = text::decodeScalar(line, offset);
        if (decoded.length == 0 || decoded.scalar == U' ' || (decoded.scalar >= U'0' && decoded.scalar <= U'9')) {
            return false;
        }
        offset += decoded.length;
        std::uint64_t count = 0;
        const char* const begin = line.data() + offset;
        const auto [end, error] = std::from_chars(begin, line.data() + line.size(), count);
        if (error != std::errc() || end == begin || count == 0) return false;
        offset += static_cast<std::size_t>(end - begin);
        trigram.resize(2);
        trigram += decoded.scalar;
        parsed[trigram] += count;
    }
    if (parsed.empty()) return false;
    for (const auto& [key, count] : parsed) trigrams_[key] += count;
    return true;
}

}  // namespace tarvelo::desktop
