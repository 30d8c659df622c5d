// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utf8.h"

namespace tarvelo::text {
namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

DecodedScalar decodeScalar(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return {0, 0};
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(offset);
    if (lead < 0x80) return {lead, 1};

    std::size_t needed = 0;
    char32_t scalar = 0;
    // The allowed range of the second byte narrows for E0, ED, F0 and F4 so that overlong forms,
    // surrogates and values beyond U+10FFFF are rejected at the earliest byte.
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        needed = 1;
        scalar = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        needed = 2;
        scalar = lead & 0x0F;
        if (lead == 0xE0) secondLow = 0xA0;
        if (lead == 0xED) secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        needed = 3;
        scalar = lead & 0x07;
        if (lead == 0xF0) secondLow = 0x90;
        if (lead == 0xF4) secondHigh = 0x8F;
    } else {
        return {kReplacementCharacter, 1};
    }

    std::size_t length = 1;
    for (std::size_t i = 0; i < needed; ++i) {
        const std::size_t at = offset + length;
        if (at >= text.size()) return {kReplacementCharacter, length};
        const unsigned char byte = byteAt(at);
        const bool valid = i == 0 ? (byte >= secondLow && byte <= secondHigh) : isContinuation(byte);
        if (!valid) return {kReplacementCharacter, length};
        scalar = (scalar << 6) | (byte & 0x3F);
        ++length;
    }
    return {scalar, length};
}

char32_t firstScalar(std::string_view text) { return decodeScalar(text, 0).scalar; }

std::u32string scalars(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    forEachScalar(text, [&](char32_t scalar) { out.push_back(scalar); });
    return out;
}

void appendScalar(std::string& out, char32_t scalar) {
    if (scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF)) scalar = kReplacementCharacter;
    if (scalar < 0x80) {
        out.push_back(static_cast<char>(scalar));
    } else if (scalar < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (scalar >> 6)));
        out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
    } else if (scalar < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (scalar >> 12)));
        out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (scalar >> 18)));
        out.push_back(static_cast<char>(0x80 | ((scalar >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((scalar >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (scalar & 0x3F)));
    }
}

std::string fromScalars(std::u32string_view scalars) {
    std::string out;
    out.reserve(scalars.size());
    for (char32_t scalar : scalars) appendScalar(out, scalar);
    return out;
}

bool isAscii(std::string_view text) {
    for (char byte : text) {
        if (static_cast<unsigned char>(byte) >= 0x80) return false;
    }
    return true;
}

std::optional<std::size_t> firstIllFormedOffset(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        if (static_cast<unsigned char>(text[offset]) < 0x80) {
            ++offset;
            continue;
        }
        const DecodedScalar decoded = decodeScalar(text, offset);
        // U+FFFD written out in the text (EF BF BD) is well-formed.
        if (decoded.scalar == kReplacementCharacter && text.substr(offset, decoded.length) != "\xEF\xBF\xBD") {
            return offset;
        }
        offset += decoded.length;
    }
    return std::nullopt;
}

bool isWellFormed(std::string_view text) { return !firstIllFormedOffset(text).has_value(); }

void appendWellFormed(std::string& out, std::string_view text) {
    if (isWellFormed(text)) {
        out.append(text);
        return;
    }
    forEachScalar(text, [&](char32_t scalar) { appendScalar(out, scalar); });
}

std::string wellFormed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendWellFormed(out, text);
    return out;
}

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    forEachScalar(text, [&](char32_t scalar) { units += scalar > 0xFFFF ? 2 : 1; });
    return units;
}

std::u16string toUtf16(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    forEachScalar(text, [&](char32_t scalar) {
        if (scalar > 0xFFFF) {
            const char32_t offset = scalar - 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(scalar));
        }
    });
    return units;
}

std::string fromUtf16(std::u16string_view units) {
    std::string text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            appendScalar(text, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                   (static_cast<char32_t>(units[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendScalar(text, kReplacementCharacter);
        } else {
            appendScalar(text, unit);
        }
    }
    return text;
}

}  // namespace tarvelo::text
