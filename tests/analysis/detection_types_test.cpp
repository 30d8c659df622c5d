// SPDX-License-Identifier: GPL-3.0-or-later
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "analysis/conversion_direction.h"
#include "analysis/detection_result.h"
#include "analysis/language_classification.h"

namespace tarvelo {
namespace {

// Raw values are what statistics and the command line store and print; they must stay exactly these.
TEST(DetectionTypes, RawValuesRoundTripAndNothingElseDecodes) {
    const std::vector<std::string> directions = {"englishToRussian", "russianToEnglish"};
    for (std::size_t i = 0; i < directions.size(); ++i) {
        SCOPED_TRACE(directions[i]);
        EXPECT_EQ(rawValue(kAllConversionDirections[i]), directions[i]);
        EXPECT_EQ(conversionDirectionFromRawValue(directions[i]), kAllConversionDirections[i]);
        EXPECT_EQ(nlohmann::json(directions[i]).get<ConversionDirection>(), kAllConversionDirections[i]);
        EXPECT_EQ(nlohmann::json(kAllConversionDirections[i]), nlohmann::json(directions[i]));
    }
    const std::vector<std::string> classifications = {"english", "russian", "wrongEnglishLayoutIntendedRussian",
                                                      "wrongRussianLayoutIntendedEnglish", "unknown"};
    for (std::size_t i = 0; i < classifications.size(); ++i) {
        SCOPED_TRACE(classifications[i]);
        EXPECT_EQ(rawValue(kAllLanguageClassifications[i]), classifications[i]);
        EXPECT_EQ(languageClassificationFromRawValue(classifications[i]), kAllLanguageClassifications[i]);
        EXPECT_EQ(nlohmann::json(classifications[i]).get<LanguageClassification>(), kAllLanguageClassifications[i]);
    }

    for (const std::string raw : {"", "RussianToEnglish", "English", "unknown ", "englishtorussian"}) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(conversionDirectionFromRawValue(raw), std::nullopt);
        EXPECT_THROW(nlohmann::json(raw).get<ConversionDirection>(), nlohmann::json::exception);
    }
    for (const std::string raw : {"", "English", "russianToEnglish", "none"}) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(languageClassificationFromRawValue(raw), std::nullopt);
        EXPECT_THROW(nlohmann::json(raw).get<LanguageClassification>(), nlohmann::json::exception);
    }
    EXPECT_THROW(nlohmann::json(1).get<ConversionDirection>(), nlohmann::json::exception);
    EXPECT_THROW(nlohmann::json(nullptr).get<LanguageClassification>(), nlohmann::json::exception);
}

TEST(DetectionTypes, ResultsAreEqualWhenAllSixFieldsAre) {
    const DetectionResult reference{"`krf", "ёлка", LanguageClassification::wrongEnglishLayoutIntendedRussian,
                                    ConversionDirection::englishToRussian, -5.0, 10.4};
    const auto changed = [&](auto change) {
        DetectionResult result = reference;
        change(result);
        return result;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::string name;
        DetectionResult other;
        bool equal;
    };
    const std::vector<Case> cases = {
        {"copy", reference, true},
        {"canonically equivalent text", changed([](DetectionResult& r) { r.converted = "е\u0308лка"; }), true},
        {"negative zero", changed([](DetectionResult& r) { r.originalScore = -0.0 - 5.0; }), true},
        {"different letter", changed([](DetectionResult& r) { r.converted = "елка"; }), false},
        {"case of original", changed([](DetectionResult& r) { r.original = "`Krf"; }), false},
        {"classification", changed([](DetectionResult& r) { r.classification = LanguageClassification::english; }), false},
        {"other direction", changed([](DetectionResult& r) { r.direction = ConversionDirection::russianToEnglish; }), false},
        {"absent direction", changed([](DetectionResult& r) { r.direction.reset(); }), false},
        {"converted score", changed([](DetectionResult& r) { r.convertedScore = 10.5; }), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reference == c.other, c.equal);
        EXPECT_EQ(c.other == reference, c.equal);
    }

    const DetectionResult unknown{"12345", "12345", LanguageClassification::unknown, std::nullopt, 0.0, 0.0};
    EXPECT_TRUE(unknown == DetectionResult(unknown));  // two absent directions are equal

    // A NaN score makes a result equal to nothing, not even itself.
    const DetectionResult withNaN = changed([&](DetectionResult& r) { r.originalScore = nan; });
    EXPECT_FALSE(withNaN == withNaN);
}

}  // namespace
}  // namespace tarvelo
