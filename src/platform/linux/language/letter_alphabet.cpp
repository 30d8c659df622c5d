// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_alphabet.h"

#include "platform/linux/language/letter_trigram_counts.h"

namespace tarvelo::desktop {

std::optional<LetterAlphabet> LetterAlphabet::make(std::u32string_view scalars, std::u32string_view foldFrom,
                                                   std::u32string_view foldTo) {
    // Symbols are bytes and 0 is the boundary, so at most 254 scalars besides the "outside" mark.
    if (scalars.empty() || scalars.size() >= kOutside || foldFrom.size() != foldTo.size()) return std::nullopt;
    LetterAlphabet alphabet;
    for (std::size_t i = 0; i < scalars.size(); ++i) {
        const char32_t scalar = scalars[i];
        if (scalar > kLastScalar || scalar == LetterTrigramCounts::kWordStart ||
            scalar == LetterTrigramCounts::kWordEnd || (scalar >= U'0' && scalar <= U'9') || scalar == U' ' ||
            alphabet.symbols_[scalar] != kOutside) {
            return std::nullopt;
        }
        alphabet.symbols_[scalar] = static_cast<Symbol>(i + 1);
    }
    for (std::size_t i = 0; i < foldFrom.size(); ++i) {
        if (foldFrom[i] > kLastScalar || foldTo[i] > kLastScalar) return std::nullopt;
        if (alphabet.symbols_[foldFrom[i]] != kOutside || alphabet.symbols_[foldTo[i]] == kOutside) return std::nullopt;
    }
    for (std::size_t i = 0; i < foldFrom.size(); ++i) alphabet.symbols_[foldFrom[i]] = alphabet.symbols_[foldTo[i]];
    alphabet.scalars_ = scalars;
    return alphabet;
}

std::optional<LetterAlphabet::Symbol> LetterAlphabet::symbol(char32_t scalar) const {
    if (scalar > kLastScalar || symbols_[scalar] == kOutside) return std::nullopt;
    return symbols_[scalar];
}

std::optional<std::u32string> LetterAlphabet::folded(std::u32string_view word) const {
    std::u32string out;
    out.reserve(word.size());
    for (const char32_t scalar : word) {
        const auto found = symbol(scalar);
        if (!found) return std::nullopt;
        out += scalars_[*found - 1];
    }
    return out;
}

bool LetterAlphabet::symbols(std::u32string_view word, std::vector<Symbol>& out) const {
    out.clear();
    for (const char32_t scalar : word) {
        const auto found = symbol(scalar);
        if (!found) return false;
        out.push_back(*found);
    }
    return true;
}

}  // namespace tarvelo::desktop
