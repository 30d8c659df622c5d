// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo::desktop {

// The scalars a letter model knows, numbered from 1 (0 is the word boundary), and the scalars it reads
// as others (ё as е). Only scalars below U+0500 fit: Latin and Cyrillic.
class LetterAlphabet {
public:
    // A symbol number: 0 for the word boundary, then 1, 2, ... for the alphabet's scalars in order.
    using Symbol = std::uint8_t;
    static constexpr char32_t kLastScalar = U'\u04FF';

    // None when a scalar repeats, lies above kLastScalar, is a boundary mark ('^', '$') or a digit,
    // or when a fold's source is in the alphabet or its target is not.
    static std::optional<LetterAlphabet> make(std::u32string_view scalars, std::u32string_view foldFrom,
                                              std::u32string_view foldTo);

    // Symbols including the boundary.
    std::size_t symbolCount() const { return scalars_.size() + 1; }

    // The symbol of a scalar after folding; none outside the alphabet.
    std::optional<Symbol> symbol(char32_t scalar) const;

    // `word` with every fold applied; none when a scalar is outside the alphabet.
    std::optional<std::u32string> folded(std::u32string_view word) const;

    // Writes the symbols of a word (no boundaries) to `out`; false when a scalar is outside the alphabet.
    bool symbols(std::u32string_view word, std::vector<Symbol>& out) const;

private:
    static constexpr Symbol kOutside = 0xFF;

    LetterAlphabet() { symbols_.fill(kOutside); }

    // The scalars in symbol order: symbol i + 1 is scalars_[i].
    std::u32string scalars_;
    // Indexed by scalar; kOutside for scalars that are not in the alphabet. Folded scalars map to
    // their target's symbol.
    std::array<Symbol, kLastScalar + 1> symbols_;
};

}  // namespace tarvelo::desktop
