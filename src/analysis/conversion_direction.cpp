// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/conversion_direction.h"

#include <string>

#include <nlohmann/json.hpp>

namespace tarvelo {

std::string_view rawValue(ConversionDirection direction) {
    switch (direction) {
        case ConversionDirection::englishToRussian: return "englishToRussian";
        case ConversionDirection::russianToEnglish: return "russianToEnglish";
    }
    return "englishToRussian";
}

std::optional<ConversionDirection> conversionDirectionFromRawValue(std::string_view raw) {
    for (ConversionDirection direction : kAllConversionDirections) {
        if (rawValue(direction) == raw) return direction;
    }
    return std::nullopt;
}

void to_json(nlohmann::json& json, ConversionDirection direction) { json = std::string(rawValue(direction)); }

void from_json(const nlohmann::json& json, ConversionDirection& direction) {
    const auto decoded = json.is_string() ? conversionDirectionFromRawValue(json.get_ref<const std::string&>())
                                          : std::nullopt;
    if (!decoded) throw nlohmann::json::other_error::create(501, "not a conversion direction", &json);
    direction = *decoded;
}

}  // namespace tarvelo
