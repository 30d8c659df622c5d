// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 decoding and encoding for the core.
//
// Ill-formed input never fails and never crashes: every maximal ill-formed subsequence reads as one
// U+FFFD REPLACEMENT CHARACTER (the practice that the Unicode Standard recommends and ICU follows),
// and every function that builds new text writes U+FFFD in its place, so what the core produces is
// always well-formed.
namespace tarvelo::text {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// One decoded scalar and the number of input bytes it took (at least 1 while input remains).
struct DecodedScalar {
    char32_t scalar = 0;
    std::size_t length = 0;
};

// Decodes the scalar that starts at `offset`. Past the end it answers {0, 0}.
DecodedScalar decodeScalar(std::string_view text, std::size_t offset);

// The first scalar of `text`; U+0000 for the empty text.
char32_t firstScalar(std::string_view text);

// Calls `visit(scalar)` for every scalar in order.
template <typename Visitor>
void forEachScalar(std::string_view text, Visitor&& visit) {
    for (std::size_t offset = 0; offset < text.size();) {
        if (static_cast<unsigned char>(text[offset]) < 0x80) {
            visit(static_cast<char32_t>(text[offset]));
            ++offset;
            continue;
        }
        const DecodedScalar decoded = decodeScalar(text, offset);
        visit(decoded.scalar);
        offset += decoded.length;
    }
}

std::u32string scalars(std::string_view text);

void appendScalar(std::string& out, char32_t scalar);
std::string fromScalars(std::u32string_view scalars);

bool isAscii(std::string_view text);
bool isWellFormed(std::string_view text);

// The byte offset where the first ill-formed subsequence starts; none for well-formed text.
std::optional<std::size_t> firstIllFormedOffset(std::string_view text);

// The text with every ill-formed subsequence replaced by U+FFFD.
std::string wellFormed(std::string_view text);

// Appends `text` to `out`, replacing ill-formed subsequences by U+FFFD.
void appendWellFormed(std::string& out, std::string_view text);

// Length in UTF-16 code units, the unit of accessibility ranges and synthesised typing.
std::size_t utf16Length(std::string_view text);

// The UTF-16 code units of `text`.
std::u16string toUtf16(std::string_view text);

// UTF-8 for UTF-16 code units; an unpaired surrogate becomes U+FFFD.
std::string fromUtf16(std::u16string_view units);

}  // namespace tarvelo::text
