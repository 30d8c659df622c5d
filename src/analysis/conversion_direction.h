// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace tarvelo {

// Which way a text is converted between the two keyboard layouts.
enum class ConversionDirection {
    englishToRussian,  // text typed on the English (US QWERTY) layout
    russianToEnglish,  // text typed on the Russian (ЙЦУКЕН) layout
};

inline constexpr std::array<ConversionDirection, 2> kAllConversionDirections{
    ConversionDirection::englishToRussian, ConversionDirection::russianToEnglish};

std::string_view rawValue(ConversionDirection direction);

// Exactly "englishToRussian" or "russianToEnglish" (case-sensitive); none for anything else.
std::optional<ConversionDirection> conversionDirectionFromRawValue(std::string_view raw);

// Serialised as its raw value; decoding any other value throws nlohmann::json::other_error.
void to_json(nlohmann::json& json, ConversionDirection direction);
void from_json(const nlohmann::json& json, ConversionDirection& direction);

}  // namespace tarvelo
