// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// Unicode properties of scalars, and of characters judged by their scalars.
namespace tarvelo::text {

bool isWhiteSpace(char32_t scalar);     // White_Space
bool isAlphabetic(char32_t scalar);     // Alphabetic
bool isUppercase(char32_t scalar);      // Uppercase
bool isLowercase(char32_t scalar);      // Lowercase
bool isLetterOrMark(char32_t scalar);   // general category L* or M*
bool isDecimalDigit(char32_t scalar);   // general category Nd

// A letter character: its first scalar is Alphabetic.
bool isLetterCharacter(std::string_view character);

// An upper-case character: its only scalar is Uppercase, or it equals its own upper-case mapping and
// differs from its lower-case mapping. A lower-case character likewise, the other way round.
bool isUppercaseCharacter(std::string_view character);
bool isLowercaseCharacter(std::string_view character);

}  // namespace tarvelo::text
