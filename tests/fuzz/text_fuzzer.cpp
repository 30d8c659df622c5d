// SPDX-License-Identifier: GPL-3.0-or-later
// The text layer on arbitrary bytes: every function answers well-formed text and agrees with the others.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/case_mapping.h"
#include "text/characters.h"
#include "text/collation.h"
#include "text/normalization.h"
#include "text/properties.h"
#include "text/trimming.h"
#include "text/utf8.h"

using namespace tarvelo::text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const bool wellFormedInput = isWellFormed(input);
    FUZZ_CHECK(wellFormedInput == !firstIllFormedOffset(input).has_value());
    const std::string repaired = wellFormed(input);
    FUZZ_CHECK(isWellFormed(repaired));
    if (wellFormedInput) FUZZ_CHECK(repaired == input);
    if (const auto offset = firstIllFormedOffset(input)) {
        FUZZ_CHECK(*offset < input.size());
        FUZZ_CHECK(isWellFormed(input.substr(0, *offset)));
    }

    // Scalars, one at a time and all at once, agree, and encode back to the repaired text.
    const std::u32string all = scalars(input);
    std::u32string visited;
    forEachScalar(input, [&](char32_t scalar) { visited.push_back(scalar); });
    FUZZ_CHECK(visited == all);
    FUZZ_CHECK(fromScalars(all) == repaired);
    FUZZ_CHECK(firstScalar(input) == (all.empty() ? U'\0' : all.front()));
    for (const char32_t scalar : all) {
        FUZZ_CHECK(scalar <= 0x10FFFF && !(scalar >= 0xD800 && scalar <= 0xDFFF));
        (void)isWhiteSpace(scalar);
        (void)isAlphabetic(scalar);
        (void)isUppercase(scalar);
        (void)isLowercase(scalar);
        (void)isLetterOrMark(scalar);
        (void)isDecimalDigit(scalar);
    }
    std::string appended = "x";
    appendWellFormed(appended, input);
    FUZZ_CHECK(appended == "x" + repaired);

    // Characters are views that tile the text.
    const auto pieces = characters(input);
    FUZZ_CHECK(pieces.size() == characterCount(input));
    std::string joined;
    for (const std::string_view piece : pieces) {
        FUZZ_CHECK(!piece.empty());
        FUZZ_CHECK(piece.data() >= input.data() && piece.data() + piece.size() <= input.data() + input.size());
        joined.append(piece);
        (void)isLetterCharacter(piece);
        (void)isUppercaseCharacter(piece);
        (void)isLowercaseCharacter(piece);
    }
    FUZZ_CHECK(joined == input);
    const std::string_view last = lastCharacter(input);
    const std::string_view rest = droppingLastCharacter(input);
    FUZZ_CHECK(std::string(rest) + std::string(last) == input);
    FUZZ_CHECK(pieces.empty() ? last.empty() : last == pieces.back());

    // Case mapping and canonical forms build well-formed text.
    FUZZ_CHECK(isWellFormed(lowercased(input)));
    FUZZ_CHECK(isWellFormed(uppercased(input)));
    FUZZ_CHECK(isWellFormed(comparisonKey(input)));
    const std::string canonical = canonicalForm(input);
    FUZZ_CHECK(isWellFormed(canonical));
    FUZZ_CHECK(canonicallyEqual(repaired, canonical));
    FUZZ_CHECK(canonicalForm(canonical) == canonical);

    // Ordering is antisymmetric and a text sorts with itself.
    const std::string_view first = input.substr(0, input.size() / 2);
    const std::string_view second = input.substr(input.size() / 2);
    const int forward = compareLocalizedCaseInsensitive(first, second);
    const int backward = compareLocalizedCaseInsensitive(second, first);
    FUZZ_CHECK((forward < 0) == (backward > 0) && (forward == 0) == (backward == 0));
    FUZZ_CHECK(compareLocalizedCaseInsensitive(input, input) == 0);

    // UTF-16: the length is the number of units, and the round trip gives the repaired text.
    const std::u16string units = toUtf16(input);
    FUZZ_CHECK(units.size() == utf16Length(input));
    FUZZ_CHECK(fromUtf16(units) == repaired);
    // Arbitrary units, unpaired surrogates included, always give well-formed UTF-8.
    std::u16string rawUnits(size / 2, u'\0');
    std::memcpy(rawUnits.data(), data, rawUnits.size() * sizeof(char16_t));
    FUZZ_CHECK(isWellFormed(fromUtf16(rawUnits)));

    const std::string_view inner = trimmed(input);
    FUZZ_CHECK(inner.size() <= input.size() && input.find(inner) != std::string_view::npos);
    FUZZ_CHECK(isAscii(input) == (repaired == input && all.size() == input.size()));
    return 0;
}
