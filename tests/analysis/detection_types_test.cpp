#include <cmath>
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

TEST(ConversionDirection, ListsBothCasesWithTheirRawValues) {
    ASSERT_EQ(kAllConversionDirections.size(), 2u);
    EXPECT_EQ(kAllConversionDirections[0], ConversionDirection::englishToRussian);
    EXPECT_EQ(kAllConversionDirections[1], ConversionDirection::russianToEnglish);
    EXPECT_EQ(rawValue(ConversionDirection::englishToRussian), "englishToRussian");
    EXPECT_EQ(rawValue(ConversionDirection::russianToEnglish), "russianToEnglish");
}

TEST(ConversionDirection, IsBuiltOnlyFromItsExactRawValues) {
    struct Case {
        std::string raw;
        std::optional<ConversionDirection> expected;
    };
    const std::vector<Case> cases = {
        {"englishToRussian", ConversionDirection::englishToRussian},
        {"russianToEnglish", ConversionDirection::russianToEnglish},
        {"RussianToEnglish", std::nullopt},
        {"EnglishToRussian", std::nullopt},
        {"englishtorussian", std::nullopt},
        {"russianToEnglish ", std::nullopt},
        {" englishToRussian", std::nullopt},
        {"", std::nullopt},
        {"english", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(conversionDirectionFromRawValue(c.raw), c.expected);
    }
}

TEST(ConversionDirection, EncodesAsItsRawValueAndRejectsAnythingElse) {
    for (ConversionDirection direction : kAllConversionDirections) {
        SCOPED_TRACE(std::string(rawValue(direction)));
        const nlohmann::json encoded = direction;
        ASSERT_TRUE(encoded.is_string());
        EXPECT_EQ(encoded.get<std::string>(), rawValue(direction));
        EXPECT_EQ(nlohmann::json::parse(encoded.dump()).get<ConversionDirection>(), direction);
    }

    const std::vector<nlohmann::json> invalid = {
        "RussianToEnglish", "", "unknown", "english", 0, 1, nullptr, true, nlohmann::json::array({"englishToRussian"}),
        nlohmann::json::object({{"englishToRussian", 1}}),
    };
    for (const nlohmann::json& json : invalid) {
        SCOPED_TRACE(json.dump());
        EXPECT_THROW(json.get<ConversionDirection>(), nlohmann::json::exception);
    }
}

TEST(LanguageClassification, RoundTripsEachOfItsFiveRawValues) {
    struct Case {
        std::string raw;
        LanguageClassification classification;
    };
    const std::vector<Case> cases = {
        {"english", LanguageClassification::english},
        {"russian", LanguageClassification::russian},
        {"wrongEnglishLayoutIntendedRussian", LanguageClassification::wrongEnglishLayoutIntendedRussian},
        {"wrongRussianLayoutIntendedEnglish", LanguageClassification::wrongRussianLayoutIntendedEnglish},
        {"unknown", LanguageClassification::unknown},
    };
    ASSERT_EQ(kAllLanguageClassifications.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(kAllLanguageClassifications[i], c.classification);
        EXPECT_EQ(rawValue(c.classification), c.raw);
        const std::optional<LanguageClassification> built = languageClassificationFromRawValue(c.raw);
        ASSERT_TRUE(built.has_value());
        EXPECT_EQ(*built, c.classification);
        EXPECT_EQ(rawValue(*built), c.raw);
    }
}

TEST(LanguageClassification, IsBuiltFromNothingButItsRawValues) {
    const std::vector<std::string> others = {
        "", "English", "RUSSIAN", "Unknown", "wrongenglishlayoutintendedrussian", "wrongEnglishLayout",
        "englishToRussian", "unknown ", "none",
    };
    for (const std::string& raw : others) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(languageClassificationFromRawValue(raw), std::nullopt);
    }
}

TEST(LanguageClassification, EncodesAsItsRawValueAndRejectsAnythingElse) {
    for (LanguageClassification classification : kAllLanguageClassifications) {
        SCOPED_TRACE(std::string(rawValue(classification)));
        const nlohmann::json encoded = classification;
        ASSERT_TRUE(encoded.is_string());
        EXPECT_EQ(encoded.get<std::string>(), rawValue(classification));
        EXPECT_EQ(nlohmann::json::parse(encoded.dump()).get<LanguageClassification>(), classification);
    }

    const std::vector<nlohmann::json> invalid = {"English", "", "russianToEnglish", 4, nullptr, false,
                                                 nlohmann::json::array({"english"})};
    for (const nlohmann::json& json : invalid) {
        SCOPED_TRACE(json.dump());
        EXPECT_THROW(json.get<LanguageClassification>(), nlohmann::json::exception);
    }
}

DetectionResult correction() {
    return DetectionResult{"ghbdtn", "привет", LanguageClassification::wrongEnglishLayoutIntendedRussian,
                           ConversionDirection::englishToRussian, -5.0, 10.4};
}

TEST(DetectionResult, EqualsExactlyWhenAllSixFieldsAreEqual) {
    struct Case {
        std::string name;
        DetectionResult other;
        bool equal;
    };
    const auto changed = [](auto change) {
        DetectionResult result = correction();
        change(result);
        return result;
    };
    const std::vector<Case> cases = {
        {"field-for-field copy", correction(), true},
        {"original", changed([](DetectionResult& r) { r.original = "ghbdtm"; }), false},
        {"converted", changed([](DetectionResult& r) { r.converted = "привеь"; }), false},
        {"classification", changed([](DetectionResult& r) { r.classification = LanguageClassification::english; }),
         false},
        {"direction present in both but different",
         changed([](DetectionResult& r) { r.direction = ConversionDirection::russianToEnglish; }), false},
        {"direction absent in one", changed([](DetectionResult& r) { r.direction.reset(); }), false},
        {"original score", changed([](DetectionResult& r) { r.originalScore = -4.9; }), false},
        {"converted score", changed([](DetectionResult& r) { r.convertedScore = 10.5; }), false},
        {"original in another case", changed([](DetectionResult& r) { r.original = "Ghbdtn"; }), false},
    };
    const DetectionResult reference = correction();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reference == c.other, c.equal);
        EXPECT_EQ(c.other == reference, c.equal);
    }
}

TEST(DetectionResult, ComparesTextsByCanonicalEquivalence) {
    DetectionResult precomposed{"`krf", "ёлка", LanguageClassification::wrongEnglishLayoutIntendedRussian,
                                ConversionDirection::englishToRussian, 1.0, 2.0};
    DetectionResult decomposed = precomposed;
    decomposed.converted = "е\u0308лка";
    EXPECT_TRUE(precomposed == decomposed);

    DetectionResult typed{"е\u0308ж", "`;", LanguageClassification::russian, ConversionDirection::russianToEnglish,
                          0.0, 0.0};
    DetectionResult composed = typed;
    composed.original = "ёж";
    EXPECT_TRUE(typed == composed);

    // Canonical equivalence is not similarity: е and ё are different letters.
    composed.original = "еж";
    EXPECT_FALSE(typed == composed);
}

TEST(DetectionResult, TwoAbsentDirectionsAreEqual) {
    const DetectionResult a{"12345", "12345", LanguageClassification::unknown, std::nullopt, 0.0, 0.0};
    const DetectionResult b{"12345", "12345", LanguageClassification::unknown, std::nullopt, 0.0, 0.0};
    EXPECT_TRUE(a == b);

    DetectionResult withDirection = b;
    withDirection.direction = ConversionDirection::englishToRussian;
    EXPECT_FALSE(a == withDirection);
    EXPECT_FALSE(withDirection == a);
}

TEST(DetectionResult, ScoresCompareAsFloatingPointNumbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();

    DetectionResult withNaN = correction();
    withNaN.originalScore = nan;
    const DetectionResult copy = withNaN;
    EXPECT_FALSE(withNaN == copy);
    EXPECT_FALSE(withNaN == withNaN);

    DetectionResult convertedNaN = correction();
    convertedNaN.convertedScore = nan;
    EXPECT_FALSE(convertedNaN == convertedNaN);

    DetectionResult positiveZero = correction();
    positiveZero.originalScore = 0.0;
    DetectionResult negativeZero = correction();
    negativeZero.originalScore = -0.0;
    EXPECT_TRUE(positiveZero == negativeZero);
}

}  // namespace
}  // namespace tarvelo
