// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/properties.h"

#include <unicode/uchar.h>

#include "text/case_mapping.h"
#include "text/normalization.h"
#include "text/utf8.h"

namespace tarvelo::text {
namespace {

bool hasProperty(char32_t scalar, UProperty property) {
    return u_hasBinaryProperty(static_cast<UChar32>(scalar), property) != 0;
}

bool isSingleScalar(std::string_view character) {
    return !character.empty() && decodeScalar(character, 0).length == character.size();
}

}  // namespace

bool isWhiteSpace(char32_t scalar) { return hasProperty(scalar, UCHAR_WHITE_SPACE); }
bool isAlphabetic(char32_t scalar) { return hasProperty(scalar, UCHAR_ALPHABETIC); }
bool isUppercase(char32_t scalar) { return hasProperty(scalar, UCHAR_UPPERCASE); }
bool isLowercase(char32_t scalar) { return hasProperty(scalar, UCHAR_LOWERCASE); }

bool isLetterOrMark(char32_t scalar) {
    return (U_GET_GC_MASK(static_cast<UChar32>(scalar)) & (U_GC_L_MASK | U_GC_M_MASK)) != 0;
}

bool isDecimalDigit(char32_t scalar) {
    return u_charType(static_cast<UChar32>(scalar)) == U_DECIMAL_DIGIT_NUMBER;
}

bool isLetterCharacter(std::string_view character) {
    return !character.empty() && isAlphabetic(firstScalar(character));
}

bool isUppercaseCharacter(std::string_view character) {
    if (character.empty()) return false;
    // Every ASCII character maps to itself or to its ASCII twin.
    if (character.size() == 1) return character[0] >= 'A' && character[0] <= 'Z';
    if (isSingleScalar(character) && isUppercase(firstScalar(character))) return true;
    return canonicallyEqual(character, uppercased(character)) &&
           !canonicallyEqual(character, lowercased(character));
}

bool isLowercaseCharacter(std::string_view character) {
    if (character.empty()) return false;
    if (character.size() == 1) return character[0] >= 'a' && character[0] <= 'z';
    if (isSingleScalar(character) && isLowercase(firstScalar(character))) return true;
    return canonicallyEqual(character, lowercased(character)) &&
           !canonicallyEqual(character, uppercased(character));
}

}  // namespace tarvelo::text
