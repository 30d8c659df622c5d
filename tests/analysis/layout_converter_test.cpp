// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/layout_converter.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/characters.h"
#include "text/normalization.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

constexpr auto kToRussian = ConversionDirection::englishToRussian;
constexpr auto kToEnglish = ConversionDirection::russianToEnglish;

// One physical key: what it types on each layout, without and with Shift.
struct Key {
    std::string english;
    std::string russian;
    std::string shiftedEnglish;
    std::string shiftedRussian;
};

// The 35 keys, row by row.
const std::vector<Key>& keys() {
    static const std::vector<Key> all = {
        {"`", "ё", "~", "Ё"},    {"q", "й", "Q", "Й"},  {"w", "ц", "W", "Ц"}, {"e", "у", "E", "У"},
        {"r", "к", "R", "К"},    {"t", "е", "T", "Е"},  {"y", "н", "Y", "Н"}, {"u", "г", "U", "Г"},
        {"i", "ш", "I", "Ш"},    {"o", "щ", "O", "Щ"},  {"p", "з", "P", "З"}, {"[", "х", "{", "Х"},
        {"]", "ъ", "}", "Ъ"},    {"\\", "\\", "|", "/"},
        {"a", "ф", "A", "Ф"},    {"s", "ы", "S", "Ы"},  {"d", "в", "D", "В"}, {"f", "а", "F", "А"},
        {"g", "п", "G", "П"},    {"h", "р", "H", "Р"},  {"j", "о", "J", "О"}, {"k", "л", "K", "Л"},
        {"l", "д", "L", "Д"},    {";", "ж", ":", "Ж"},  {"'", "э", "\"", "Э"},
        {"z", "я", "Z", "Я"},    {"x", "ч", "X", "Ч"},  {"c", "с", "C", "С"}, {"v", "м", "V", "М"},
        {"b", "и", "B", "И"},    {"n", "т", "N", "Т"},  {"m", "ь", "M", "Ь"}, {",", "б", "<", "Б"},
        {".", "ю", ">", "Ю"},    {"/", ".", "?", ","},
    };
    return all;
}

bool isCyrillicScalar(char32_t scalar) { return scalar >= 0x0400 && scalar <= 0x04FF; }

// With the sizes checked, every pair found both ways makes Russian→English the exact inverse.
TEST(LayoutConverter, TablesHoldTheSeventyKeyPairsBothWaysAndTheTypographicApostrophe) {
    const LayoutConverter converter;
    EXPECT_EQ(converter.englishToRussian().size(), 71u);
    EXPECT_EQ(converter.russianToEnglish().size(), 70u);

    const auto expectPair = [&](const std::string& english, const std::string& russian) {
        SCOPED_TRACE(english + " / " + russian);
        ASSERT_EQ(converter.englishToRussian().count(english), 1u);
        EXPECT_EQ(converter.englishToRussian().at(english), russian);
        ASSERT_EQ(converter.russianToEnglish().count(russian), 1u);
        EXPECT_EQ(converter.russianToEnglish().at(russian), english);
    };
    for (const Key& key : keys()) {
        expectPair(key.english, key.russian);
        expectPair(key.shiftedEnglish, key.shiftedRussian);
    }

    ASSERT_EQ(converter.englishToRussian().count("\u2019"), 1u);
    EXPECT_EQ(converter.englishToRussian().at("\u2019"), "э");
    EXPECT_EQ(converter.russianToEnglish().at("э"), "'");
}

TEST(LayoutConverter, EveryRussianLetterIsCyrillic) {
    // Look-alikes such as а, е, о, р, с, у, х must never be their Latin twins.
    const LayoutConverter converter;
    for (const auto& [english, russian] : converter.englishToRussian()) {
        const std::u32string keyScalars = text::scalars(english);
        const bool asciiLetter = keyScalars.size() == 1 && ((keyScalars[0] >= U'a' && keyScalars[0] <= U'z') ||
                                                            (keyScalars[0] >= U'A' && keyScalars[0] <= U'Z'));
        if (!asciiLetter) continue;
        SCOPED_TRACE(english);
        const std::u32string scalars = text::scalars(russian);
        ASSERT_EQ(scalars.size(), 1u);
        EXPECT_TRUE(isCyrillicScalar(scalars[0]));
    }
}

TEST(LayoutConverter, ConvertsEveryCharacterByItsPhysicalKey) {
    struct Case {
        std::string text;
        ConversionDirection direction;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"", kToRussian, ""},
        {"", kToEnglish, ""},
        {"ghbdtn", kToRussian, "привет"},
        {"привет", kToEnglish, "ghbdtn"},
        {"GHBDTN", kToRussian, "ПРИВЕТ"},
        {"Ghbdtn", kToRussian, "Привет"},
        {"ПРИВЕТ", kToEnglish, "GHBDTN"},
        {"ghbdtn,", kToRussian, "приветб"},
        {"ghbdtn.", kToRussian, "приветю"},
        {"ghbdtn;", kToRussian, "приветж"},
        {"привет.", kToEnglish, "ghbdtn/"},
        {"привет,", kToEnglish, "ghbdtn?"},
        // Keys that carry punctuation on both layouts.
        {"/?", kToRussian, ".,"},
        {".,/", kToEnglish, "/?|"},
        {"\\", kToRussian, "\\"},
        {"\\", kToEnglish, "\\"},
        {"|", kToRussian, "/"},
        {"[]{};:'\"<>`~", kToRussian, "хъХЪжЖэЭБЮёЁ"},
        {"хъХЪжЖэЭБЮёЁ", kToEnglish, "[]{};:'\"<>`~"},
        // The typographic apostrophe only goes one way.
        {"\u2019", kToRussian, "э"},
        {"lf\u2019", kToRussian, "даэ"},
        {"\u2019", kToEnglish, "\u2019"},
        {"это", kToEnglish, "'nj"},
        // Characters without a key of their own in the table pass through.
        {"0123456789 !@#$%^&*()-_=+", kToRussian, "0123456789 !@#$%^&*()-_=+"},
        {"0123456789 !@#$%^&*()-_=+", kToEnglish, "0123456789 !@#$%^&*()-_=+"},
        {"ghbdtn2024", kToRussian, "привет2024"},
        {"caf\u00E9", kToRussian, "сфа\u00E9"},
        {"stra\u00DFe", kToRussian, "ыекф\u00DFу"},
        {"ghbdtn", kToEnglish, "ghbdtn"},
        {"привет", kToRussian, "привет"},
        {"\u03B1\u05D0\u4E2D", kToRussian, "\u03B1\u05D0\u4E2D"},
        {"\u0491\u0456", kToEnglish, "\u0491\u0456"},  // Ukrainian letters are not on this layout
    };
    const LayoutConverter converter;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(converter.convert(c.text, c.direction), c.expected);
    }
}

TEST(LayoutConverter, AllKeysConvertThereAndBack) {
    std::string english;
    std::string russian;
    for (const Key& key : keys()) {
        english += key.english + key.shiftedEnglish;
        russian += key.russian + key.shiftedRussian;
    }
    const LayoutConverter converter;
    EXPECT_EQ(converter.convert(english, kToRussian), russian);
    EXPECT_EQ(converter.convert(russian, kToEnglish), english);
}

TEST(LayoutConverter, CanonicallyEquivalentCharactersAreOneKey) {
    struct Case {
        std::string text;
        ConversionDirection direction;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"е\u0308", kToEnglish, "`"},
        {"Е\u0308", kToEnglish, "~"},
        {"е\u0308ж", kToEnglish, "`;"},
        {"и\u0306", kToEnglish, "q"},
        {"И\u0306", kToEnglish, "Q"},
        {"об\u044A\u0435\u0308м", kToEnglish, "j,]`v"},
        // Characters whose canonical form is a key of the English layout.
        {"\u037E", kToRussian, "ж"},  // GREEK QUESTION MARK is a semicolon
        {"\u1FEF", kToRussian, "ё"},  // GREEK VARIA is a grave accent
        {"\u212A", kToRussian, "Л"},  // KELVIN SIGN is a capital K
    };
    const LayoutConverter converter;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(converter.convert(c.text, c.direction), c.expected);
    }

    // The automatic direction counts the base letter of е + U+0308, so it goes towards English.
    const auto automatic = converter.convertAutomatically("е\u0308");
    ASSERT_TRUE(automatic.has_value());
    EXPECT_EQ(automatic->text, "`");
    EXPECT_EQ(automatic->direction, kToEnglish);
}

TEST(LayoutConverter, ConvertsAutomaticallyTowardsTheOtherLayoutOfTheMajorityScript) {
    struct Case {
        std::string text;
        std::optional<ConvertedText> expected;
    };
    const std::vector<Case> cases = {
        {"ghbdtn", ConvertedText{"привет", kToRussian}},
        {"руддщ", ConvertedText{"hello", kToEnglish}},
        {"GHBDTN", ConvertedText{"ПРИВЕТ", kToRussian}},
        {"Ghbdtn", ConvertedText{"Привет", kToRussian}},
        // Mixed scripts: the whole text goes one way and the minority letters pass through.
        {"прbdtn", ConvertedText{"привет", kToRussian}},
        {"hello мир", ConvertedText{"руддщ мир", kToRussian}},
        {"gвет", ConvertedText{"gdtn", kToEnglish}},
        {"ab\u0432", ConvertedText{"фи\u0432", kToRussian}},
        // Punctuation goes with the word.
        {"ghbdtn,", ConvertedText{"приветб", kToRussian}},
        {"ghbdtn.", ConvertedText{"приветю", kToRussian}},
        {"привет.", ConvertedText{"ghbdtn/", kToEnglish}},
        {"привет,", ConvertedText{"ghbdtn?", kToEnglish}},
        {"don\u2019t", ConvertedText{"вщтэе", kToRussian}},
        {"\\\\a", ConvertedText{"\\\\ф", kToRussian}},
        {"\\\\д", ConvertedText{"\\\\l", kToEnglish}},
        // Only ASCII letters count as Latin; é and ß count for neither script.
        {"caf\u00E9", ConvertedText{"сфа\u00E9", kToRussian}},
        {"\u00E9\u0431", ConvertedText{"\u00E9,", kToEnglish}},
        {"\u00DF\u00DF\u00DF\u0434", ConvertedText{"\u00DF\u00DF\u00DFl", kToEnglish}},
        {"ghbdtn123", ConvertedText{"привет123", kToRussian}},
        // Equal counts, including none of either.
        {"", std::nullopt},
        {"12345", std::nullopt},
        {".,;/", std::nullopt},
        {"\\", std::nullopt},
        {"abвг", std::nullopt},
        {"вгab", std::nullopt},
        {"a\u00DF\u0431", std::nullopt},
        {"\u00E9\u00E8\u00E0", std::nullopt},
    };
    const LayoutConverter converter;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<ConvertedText> actual = converter.convertAutomatically(c.text);
        ASSERT_EQ(actual.has_value(), c.expected.has_value());
        if (!actual) continue;
        EXPECT_EQ(actual->text, c.expected->text);
        EXPECT_EQ(rawValue(actual->direction), rawValue(c.expected->direction));
    }
}

TEST(LayoutConverter, KeepsTheNumberOfCharacters) {
    const std::vector<std::string> texts = {
        "ghbdtn",      "привет.",       "е\u0308лка", "Е\u0308ж,",          "ab\u0301cd", "\u2019\u2019",
        "x\r\ny",      "\U0001F600ab", "\U0001F1F7\U0001F1FAz", "a\u200Db", "п\u0483р",  "...",
    };
    const LayoutConverter converter;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::size_t count = text::characterCount(text);
        EXPECT_EQ(text::characterCount(converter.convert(text, kToRussian)), count);
        EXPECT_EQ(text::characterCount(converter.convert(text, kToEnglish)), count);
        if (const auto automatic = converter.convertAutomatically(text)) {
            EXPECT_EQ(text::characterCount(automatic->text), count);
        }
    }
}

TEST(LayoutConverter, ConvertsKeysOfTheShiftedDigitRowToo) {
    const LayoutConverter converter;
    const std::vector<std::pair<std::string, std::string>> englishToRussian = {
        {"Ghbdtn? rfr ltkf&", "Привет, как дела?"},
        {"@#$^&", "\"№;:?"},
        {"!%*()-", "!%*()-"},
        {"ghjcnj/", "просто."},
    };
    for (const auto& [english, russian] : englishToRussian) {
        EXPECT_EQ(converter.convertKeys(english, ConversionDirection::englishToRussian), russian);
        EXPECT_EQ(converter.convertKeys(russian, ConversionDirection::russianToEnglish), english);
    }
    // The letter conversion itself leaves the digit row alone.
    EXPECT_EQ(converter.convert("@&", ConversionDirection::englishToRussian), "@&");
}

}  // namespace
}  // namespace tarvelo
