// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/case_mapping.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include "text/normalization.h"
#include "text/utf8.h"

namespace tarvelo::text {
namespace {

// The full mapping ("ß" upper-cases to "SS").
void appendMapped(std::string& out, char32_t scalar, int32_t (*map)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*)) {
    UChar source[2];
    int32_t sourceLength = 0;
    U16_APPEND_UNSAFE(source, sourceLength, scalar);
    // No full mapping of a single scalar is longer than three scalars.
    UChar mapped[8];
    UErrorCode status = U_ZERO_ERROR;
    // Each scalar is mapped on its own with the root locale, so neither locale nor context rules apply.
    const int32_t length = map(mapped, 8, source, sourceLength, "", &status);
    if (U_FAILURE(status)) {
        appendScalar(out, scalar);
        return;
    }
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(mapped, i, length, c);
        appendScalar(out, static_cast<char32_t>(c));
    }
}

// Lower-casing is on the per-word path. The full lower-case mapping of a scalar differs from its simple
// one only for U+0130 LATIN CAPITAL LETTER I WITH DOT ABOVE, so the simple mapping serves the rest.
void appendLowercased(std::string& out, char32_t scalar) {
    if (scalar == 0x0130) {
        out.append("i\u0307");
        return;
    }
    appendScalar(out, static_cast<char32_t>(u_tolower(static_cast<UChar32>(scalar))));
}

std::string mapCase(std::string_view text, bool lower) {
    std::string out;
    out.reserve(text.size());
    forEachScalar(text, [&](char32_t scalar) {
        if (scalar < 0x80) {
            char c = static_cast<char>(scalar);
            if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (!lower && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            out.push_back(c);
        } else {
            if (lower) {
                appendLowercased(out, scalar);
            } else {
                appendMapped(out, scalar, &u_strToUpper);
            }
        }
    });
    return out;
}

}  // namespace

std::string lowercased(std::string_view text) { return mapCase(text, true); }

std::string uppercased(std::string_view text) { return mapCase(text, false); }

std::string comparisonKey(std::string_view text) { return canonicalForm(lowercased(text)); }

}  // namespace tarvelo::text
