#include "text/case_mapping.h"

#include <unicode/ustring.h>

#include "text/normalization.h"
#include "text/utf8.h"

namespace tarvelo::text {
namespace {

using CaseMapper = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

void appendMapped(std::string& out, char32_t scalar, CaseMapper map) {
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
            appendMapped(out, scalar, lower ? &u_strToLower : &u_strToUpper);
        }
    });
    return out;
}

}  // namespace

std::string lowercased(std::string_view text) { return mapCase(text, true); }

std::string uppercased(std::string_view text) { return mapCase(text, false); }

std::string comparisonKey(std::string_view text) { return canonicalForm(lowercased(text)); }

}  // namespace tarvelo::text
