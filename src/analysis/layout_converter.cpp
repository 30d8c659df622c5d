// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/layout_converter.h"

#include <stdexcept>

#include "text/characters.h"
#include "text/normalization.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

// Three rows of unshifted keys and three of shifted keys, paired position by position.
struct RowPair {
    std::string_view english;
    std::string_view russian;
};

constexpr RowPair kRows[] = {
    {"`qwertyuiop[]\\", "ёйцукенгшщзхъ\\"},
    {"asdfghjkl;'", "фывапролджэ"},
    {"zxcvbnm,./", "ячсмитьбю."},
    {"~QWERTYUIOP{}|", "ЁЙЦУКЕНГШЩЗХЪ/"},
    {"ASDFGHJKL:\"", "ФЫВАПРОЛДЖЭ"},
    {"ZXCVBNM<>?", "ЯЧСМИТЬБЮ,"},
};

// The shifted digit row, where it differs: Shift+2, 3, 4, 6 and 7.
constexpr RowPair kShiftedDigits{"@#$^&", "\"№;:?"};

// U+2019 is what many applications type for the apostrophe key; it has no inverse.
constexpr std::string_view kTypographicApostrophe = "\u2019";

}  // namespace

std::shared_ptr<const LayoutConverter::Tables> LayoutConverter::sharedTables() {
    static const std::shared_ptr<const Tables> tables = [] {
        auto built = std::make_shared<Tables>();
        for (const RowPair& row : kRows) {
            const auto english = text::characters(row.english);
            const auto russian = text::characters(row.russian);
            for (std::size_t i = 0; i < english.size() && i < russian.size(); ++i) {
                built->englishToRussian[std::string(english[i])] = std::string(russian[i]);
            }
        }
        for (const auto& [key, value] : built->englishToRussian) {
            if (!built->russianToEnglish.emplace(value, key).second) {
                throw std::logic_error("layout table repeats a value");
            }
        }
        built->englishToRussian[std::string(kTypographicApostrophe)] = "э";
        for (const auto& [key, value] : built->englishToRussian) {
            if (key.size() == 1) built->asciiEnglishToRussian[static_cast<unsigned char>(key[0])] = value;
        }
        for (const auto& [key, value] : built->russianToEnglish) {
            if (key.size() == 1) built->asciiRussianToEnglish[static_cast<unsigned char>(key[0])] = value;
        }
        built->keysEnglishToRussian = built->englishToRussian;
        built->keysRussianToEnglish = built->russianToEnglish;
        const auto english = text::characters(kShiftedDigits.english);
        const auto russian = text::characters(kShiftedDigits.russian);
        for (std::size_t i = 0; i < english.size(); ++i) {
            built->keysEnglishToRussian[std::string(english[i])] = std::string(russian[i]);
            built->keysRussianToEnglish[std::string(russian[i])] = std::string(english[i]);
        }
        return std::shared_ptr<const Tables>(std::move(built));
    }();
    return tables;
}

LayoutConverter::LayoutConverter() : tables_(sharedTables()) {}

std::string LayoutConverter::convert(std::string_view text, ConversionDirection direction) const {
    const bool toRussian = direction == ConversionDirection::englishToRussian;
    const Table& table = toRussian ? tables_->englishToRussian : tables_->russianToEnglish;
    const auto& ascii = toRussian ? tables_->asciiEnglishToRussian : tables_->asciiRussianToEnglish;

    std::string out;
    out.reserve(text.size() * 2);
    for (std::string_view character : text::characters(text)) {
        if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80) {
            const std::string_view mapped = ascii[static_cast<unsigned char>(character[0])];
            out.append(mapped.empty() ? character : mapped);
            continue;
        }
        auto found = table.find(std::string(character));
        if (found == table.end()) found = table.find(text::canonicalForm(character));
        if (found != table.end()) {
            out.append(found->second);
        } else {
            text::appendWellFormed(out, character);
        }
    }
    return out;
}

std::string LayoutConverter::convertKeys(std::string_view text, ConversionDirection direction) const {
    const Table& table = direction == ConversionDirection::englishToRussian ? tables_->keysEnglishToRussian
                                                                           : tables_->keysRussianToEnglish;
    std::string out;
    out.reserve(text.size() * 2);
    for (std::string_view character : text::characters(text)) {
        auto found = table.find(std::string(character));
        if (found == table.end() && !text::isAscii(character)) found = table.find(text::canonicalForm(character));
        if (found != table.end()) {
            out.append(found->second);
        } else {
            text::appendWellFormed(out, character);
        }
    }
    return out;
}

std::optional<ConvertedText> LayoutConverter::convertAutomatically(std::string_view text) const {
    std::size_t latin = 0;
    std::size_t cyrillic = 0;
    text::forEachScalar(text, [&](char32_t scalar) {
        if ((scalar >= U'A' && scalar <= U'Z') || (scalar >= U'a' && scalar <= U'z')) ++latin;
        if (scalar >= 0x0400 && scalar <= 0x04FF) ++cyrillic;
    });
    if (latin == cyrillic) return std::nullopt;
    const ConversionDirection direction =
        latin > cyrillic ? ConversionDirection::englishToRussian : ConversionDirection::russianToEnglish;
    return ConvertedText{convert(text, direction), direction};
}

}  // namespace tarvelo
