// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include "text/case_mapping.h"
#include "text/normalization.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo::text {
namespace {

TEST(CaseMapping, MapsEachScalarWithoutLocaleOrContext) {
    struct Case {
        std::string text;
        std::string lower;
        std::string upper;
    };
    const std::vector<Case> cases = {
        {"GhBdTn", "ghbdtn", "GHBDTN"},
        {"ПРИВЕТ ёЁ", "привет ёё", "ПРИВЕТ ЁЁ"},
        {"\u0130", "i\u0307", "\u0130"},   // full mapping, no Turkish rule
        {"I", "i", "I"},                   // no dotless ı either
        {"ΟΔΟΣ", "οδοσ", "ΟΔΟΣ"},          // no final-sigma context rule
        {"straße", "straße", "STRASSE"},
        {"1,.;", "1,.;", "1,.;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(lowercased(c.text), c.lower);
        EXPECT_EQ(uppercased(c.text), c.upper);
    }
    EXPECT_EQ(lowercased("a\xFF"), "a\uFFFD");
}

// Lower-casing takes a shortcut through the simple mappings; it must still be the full mapping of
// every scalar, as ICU gives it for the scalar alone in the root locale.
TEST(CaseMapping, LowerCasingIsTheFullMappingOfEveryScalar) {
    std::size_t differences = 0;
    for (char32_t scalar = 0; scalar <= 0x10FFFF; ++scalar) {
        if (scalar >= 0xD800 && scalar <= 0xDFFF) continue;
        UChar source[2];
        int32_t sourceLength = 0;
        U16_APPEND_UNSAFE(source, sourceLength, scalar);
        UChar mapped[8];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = u_strToLower(mapped, 8, source, sourceLength, "", &status);
        ASSERT_TRUE(U_SUCCESS(status));
        std::string expected;
        for (int32_t i = 0; i < length;) {
            UChar32 c;
            U16_NEXT(mapped, i, length, c);
            appendScalar(expected, static_cast<char32_t>(c));
        }
        std::string single;
        appendScalar(single, scalar);
        if (lowercased(single) != expected && ++differences <= 5) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(scalar);
        }
    }
    EXPECT_EQ(differences, 0u);
}

TEST(Normalization, ComparesByCanonicalEquivalence) {
    EXPECT_TRUE(canonicallyEqual("ёлка", "е\u0308лка"));
    EXPECT_TRUE(canonicallyEqual("Й", "И\u0306"));
    EXPECT_TRUE(canonicallyEqual("abc", "abc"));
    EXPECT_FALSE(canonicallyEqual("еще", "ещё"));
    EXPECT_FALSE(canonicallyEqual("abc", "abd"));
    EXPECT_EQ(canonicalForm("е\u0308"), "ё");
    EXPECT_EQ(comparisonKey("Е\u0308ЛКА"), "ёлка");
}

TEST(Properties, ClassifiesScalars) {
    for (char32_t space : {U' ', U'\t', U'\n', U'\r', U'\u00A0', U'\u2003', U'\u3000'}) {
        EXPECT_TRUE(isWhiteSpace(space)) << static_cast<unsigned>(space);
    }
    EXPECT_FALSE(isWhiteSpace(U'\u200B'));  // zero-width space is not White_Space
    EXPECT_FALSE(isWhiteSpace(U'a'));

    for (char32_t digit : {U'0', U'9', U'\u0663', U'\u0967'}) EXPECT_TRUE(isDecimalDigit(digit));
    EXPECT_FALSE(isDecimalDigit(U'\u00B2'));  // superscript two is No, not Nd
    EXPECT_FALSE(isDecimalDigit(U'x'));

    EXPECT_TRUE(isLetterOrMark(U'ж'));
    EXPECT_TRUE(isLetterOrMark(U'\u0308'));
    EXPECT_FALSE(isLetterOrMark(U'-'));
    EXPECT_TRUE(isAlphabetic(U'Ж'));
    EXPECT_FALSE(isAlphabetic(U'\u0301'));  // a lone combining acute is a mark, not Alphabetic
    EXPECT_TRUE(isUppercase(U'Ж'));
    EXPECT_TRUE(isLowercase(U'ж'));
}

TEST(Properties, ClassifiesCharactersByTheirScalars) {
    EXPECT_TRUE(isLetterCharacter("ё"));
    EXPECT_TRUE(isLetterCharacter("е\u0308"));
    EXPECT_FALSE(isLetterCharacter("-"));
    EXPECT_FALSE(isLetterCharacter(""));

    // A decomposed capital is upper-case because it equals its own upper-case mapping.
    EXPECT_TRUE(isUppercaseCharacter("Е\u0308"));
    EXPECT_TRUE(isLowercaseCharacter("е\u0308"));
    EXPECT_TRUE(isUppercaseCharacter("Ж"));
    EXPECT_FALSE(isUppercaseCharacter("ж"));
    // Caseless characters are neither.
    for (const char* caseless : {"1", "-", "\u05D0", "'"}) {
        EXPECT_FALSE(isUppercaseCharacter(caseless)) << caseless;
        EXPECT_FALSE(isLowercaseCharacter(caseless)) << caseless;
    }
}

}  // namespace
}  // namespace tarvelo::text
