// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace tarvelo {

// What the detector concluded about a token. Only the two wrong-layout cases can lead to a correction.
enum class LanguageClassification {
    english,
    russian,
    wrongEnglishLayoutIntendedRussian,
    wrongRussianLayoutIntendedEnglish,
    unknown,
};

inline constexpr std::array<LanguageClassification, 5> kAllLanguageClassifications{
    LanguageClassification::english, LanguageClassification::russian,
    LanguageClassification::wrongEnglishLayoutIntendedRussian,
    LanguageClassification::wrongRussianLayoutIntendedEnglish, LanguageClassification::unknown};

std::string_view rawValue(LanguageClassification classification);
std::optional<LanguageClassification> languageClassificationFromRawValue(std::string_view raw);

// Serialised as its raw value; decoding any other value throws nlohmann::json::other_error.
void to_json(nlohmann::json& json, LanguageClassification classification);
void from_json(const nlohmann::json& json, LanguageClassification& classification);

}  // namespace tarvelo
