// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/language_classification.h"

#include <string>

#include <nlohmann/json.hpp>

namespace tarvelo {

std::string_view rawValue(LanguageClassification classification) {
    switch (classification) {
        case LanguageClassification::english: return "english";
        case LanguageClassification::russian: return "russian";
        case LanguageClassification::wrongEnglishLayoutIntendedRussian: return "wrongEnglishLayoutIntendedRussian";
        case LanguageClassification::wrongRussianLayoutIntendedEnglish: return "wrongRussianLayoutIntendedEnglish";
        case LanguageClassification::unknown: return "unknown";
    }
    return "unknown";
}

std::optional<LanguageClassification> languageClassificationFromRawValue(std::string_view raw) {
    for (LanguageClassification classification : kAllLanguageClassifications) {
        if (rawValue(classification) == raw) return classification;
    }
    return std::nullopt;
}

void to_json(nlohmann::json& json, LanguageClassification classification) {
    json = std::string(rawValue(classification));
}

void from_json(const nlohmann::json& json, LanguageClassification& classification) {
    const auto decoded = json.is_string()
                             ? languageClassificationFromRawValue(json.get_ref<const std::string&>())
                             : std::nullopt;
    if (!decoded) throw nlohmann::json::other_error::create(501, "not a language classification", &json);
    classification = *decoded;
}

}  // namespace tarvelo
