// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_offsets.h"

#include <climits>

#include "text/utf8.h"

namespace tarvelo::desktop::atspi_offsets {
namespace {

std::size_t unitsOf(char32_t scalar) { return scalar > 0xFFFF ? 2 : 1; }

}  // namespace

std::optional<std::size_t> unitsOfFirst(std::string_view text, std::size_t codePoints) {
    std::size_t units = 0;
    std::size_t seen = 0;
    for (std::size_t offset = 0; seen < codePoints; ++seen) {
        const text::DecodedScalar decoded = text::decodeScalar(text, offset);
        if (decoded.length == 0) return std::nullopt;
        units += unitsOf(decoded.scalar);
        offset += decoded.length;
    }
    return units;
}

std::optional<std::size_t> codePointsOfFirst(std::string_view text, std::size_t units) {
    std::size_t counted = 0;
    std::size_t codePoints = 0;
    for (std::size_t offset = 0; counted < units; ++codePoints) {
        const text::DecodedScalar decoded = text::decodeScalar(text, offset);
        if (decoded.length == 0) return std::nullopt;
        counted += unitsOf(decoded.scalar);
        offset += decoded.length;
    }
    if (counted != units) return std::nullopt;
    return codePoints;
}

std::size_t codePointCount(std::string_view text) {
    std::size_t count = 0;
    text::forEachScalar(text, [&](char32_t) { ++count; });
    return count;
}

bool fitsInt(std::size_t value) { return value <= static_cast<std::size_t>(INT_MAX); }

}  // namespace tarvelo::desktop::atspi_offsets
