// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "analysis/conversion_direction.h"

namespace tarvelo {

// A text converted by physical key, with the direction that was chosen for it.
struct ConvertedText {
    std::string text;
    ConversionDirection direction = ConversionDirection::englishToRussian;

    friend bool operator==(const ConvertedText&, const ConvertedText&) = default;
};

// Turns text typed on one layout (English US QWERTY or Russian ЙЦУКЕН) into what the same physical
// keys give on the other. A small value: the tables are built once and shared by every converter.
class LayoutConverter {
public:
    // Character to character; keys in canonical composed form.
    using Table = std::unordered_map<std::string, std::string>;

    LayoutConverter();

    // 71 entries: the 70 key pairs and U+2019 RIGHT SINGLE QUOTATION MARK → э.
    const Table& englishToRussian() const { return tables_->englishToRussian; }
    // 70 entries: the exact inverse of the 70 key pairs.
    const Table& russianToEnglish() const { return tables_->russianToEnglish; }

    // Every character with an entry in the direction's table becomes its counterpart; everything else
    // is copied unchanged. The result has as many characters as `text`.
    std::string convert(std::string_view text, ConversionDirection direction) const;

    // As `convert`, and the shifted digit row too, where the layouts differ in five keys
    // (@ # $ ^ & against " № ; : ?): exactly what the same physical keys type on the other layout.
    std::string convertKeys(std::string_view text, ConversionDirection direction) const;

    // Converts towards the other layout of the script with more letters (ASCII letters against
    // U+0400–U+04FF, counted by scalar); none when the counts are equal.
    std::optional<ConvertedText> convertAutomatically(std::string_view text) const;

private:
    struct Tables {
        Table englishToRussian;
        Table russianToEnglish;
        // The ASCII keys of each table, looked up without hashing on the per-key path.
        std::array<std::string_view, 128> asciiEnglishToRussian{};
        std::array<std::string_view, 128> asciiRussianToEnglish{};
        // The letter tables with the five shifted digit keys that differ.
        Table keysEnglishToRussian;
        Table keysRussianToEnglish;
    };

    static std::shared_ptr<const Tables> sharedTables();

    std::shared_ptr<const Tables> tables_;
};

}  // namespace tarvelo
