// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "logistic_calibration_fit.h"
#include "platform/linux/language/letter_alphabet.h"
#include "reliability_table.h"
#include "word_list.h"

namespace tarvelo::model {
namespace {

// Evidence whose log ratio is exactly `ratio`: the background is far too unlikely to count.
desktop::LetterEvidence evidenceWithRatio(double ratio, std::size_t trigrams) {
    return {ratio, 0.0, -1e9, trigrams};
}

double logistic(double z) { return 1.0 / (1.0 + std::exp(-z)); }

TEST(CalibrationFitTest, RecoversTheLogisticThatMadeTheSamples) {
    // Each evidence value is a real word with the weight the logistic gives it and a wrong-layout word
    // with the rest. The logistic is odd in the ratio, so both kinds have the same total on this
    // symmetric grid and balancing them changes nothing.
    const double ratioWeight = 0.8;
    const double averageWeight = 1.5;
    std::vector<CalibrationSample> samples;
    for (int step = -20; step <= 20; ++step) {
        for (const std::size_t trigrams : {3u, 6u, 12u}) {
            const double ratio = 0.5 * step;
            const double p = logistic(ratioWeight * ratio + averageWeight * ratio / static_cast<double>(trigrams));
            samples.push_back({evidenceWithRatio(ratio, trigrams), true, p});
            samples.push_back({evidenceWithRatio(ratio, trigrams), false, 1.0 - p});
        }
    }
    // Within what the fit's small ridge pulls the weights towards zero.
    const desktop::LetterModelCalibration fitted = fitCalibration(samples, -2.5);
    EXPECT_NEAR(fitted.ratioWeight, ratioWeight, 5e-3);
    EXPECT_NEAR(fitted.averageWeight, averageWeight, 5e-3);
    EXPECT_NEAR(fitted.intercept, 0.0, 5e-3);
    EXPECT_EQ(fitted.backgroundLogWeight, -2.5);
}

TEST(CalibrationFitTest, WeighsBothKindsEquallyHoweverManyThereAre) {
    // Nine real words for every wrong one at the same evidence: balanced, that is even odds.
    std::vector<CalibrationSample> samples;
    for (const double ratio : {-1.0, 1.0}) {
        samples.push_back({evidenceWithRatio(ratio, 4), true, 9.0});
        samples.push_back({evidenceWithRatio(ratio, 4), false, 1.0});
    }
    const desktop::LetterModelCalibration fitted = fitCalibration(samples, 0.0);
    EXPECT_NEAR(fitted.probability(evidenceWithRatio(1.0, 4)), 0.5, 1e-6);
    EXPECT_NEAR(fitted.probability(evidenceWithRatio(-1.0, 4)), 0.5, 1e-6);
}

TEST(ReliabilityTableTest, ComparesEachBinsPredictionWithWhatWasObserved) {
    // p = logistic(ratio) with this calibration.
    const desktop::LetterModelCalibration calibration{1.0, 0.0, 0.0, 0.0};
    const double high = std::log(0.95 / 0.05);
    std::vector<CalibrationSample> samples = {
        {evidenceWithRatio(high, 4), true, 1.0},   {evidenceWithRatio(high, 4), true, 1.0},
        {evidenceWithRatio(1000.0, 4), true, 1.0},  // p is 1: the last bin is closed above
        {evidenceWithRatio(high, 4), false, 1.0},  {evidenceWithRatio(-high, 4), false, 1.0},
        {evidenceWithRatio(-high, 4), false, 1.0}, {evidenceWithRatio(-high, 4), false, 1.0},
        {evidenceWithRatio(-high, 4), true, 1.0},
    };
    const std::vector<ReliabilityBin> bins = reliabilityBins(samples, calibration);
    ASSERT_EQ(bins.size(), 10u);
    EXPECT_EQ(bins[9].realWords, 3u);
    EXPECT_EQ(bins[9].wrongWords, 1u);
    EXPECT_NEAR(bins[9].observedShare, 0.75, 1e-9);
    EXPECT_NEAR(bins[9].meanProbability, (0.95 * 3 + 1.0) / 4, 1e-9);
    EXPECT_EQ(bins[0].realWords, 1u);
    EXPECT_EQ(bins[0].wrongWords, 3u);
    EXPECT_NEAR(bins[0].observedShare, 0.25, 1e-9);
    EXPECT_NEAR(bins[0].meanProbability, 0.05, 1e-9);
    for (std::size_t i = 1; i < 9; ++i) EXPECT_EQ(bins[i].realWords + bins[i].wrongWords, 0u) << i;

    const std::string table = formatReliabilityTable(bins);
    EXPECT_NE(table.find("| [0.0–0.1) | 0.050 | 0.250 | 1 | 3 |"), std::string::npos) << table;
    EXPECT_NE(table.find("| [0.9–1.0] | 0.96"), std::string::npos) << table;
    EXPECT_NE(table.find(" | 0.750 | 3 | 1 |\n"), std::string::npos) << table;
    EXPECT_NE(table.find("| [0.4–0.5) | – | – | 0 | 0 |"), std::string::npos) << table;
}

TEST(WordListTest, ReadsEachWordAsTheAlphabetReadsIt) {
    const auto russian = desktop::LetterAlphabet::make(U"абвгдежзийклмнопрстуфхцчшщъыьэюя'-", U"ё", U"е");
    const auto english = desktop::LetterAlphabet::make(U"abcdefghijklmnopqrstuvwxyz'-", U"", U"");
    ASSERT_TRUE(russian && english);
    struct Case {
        std::string text;
        bool english;
        std::optional<std::u32string> word;
    };
    const std::vector<Case> cases = {
        {"Hello", true, U"hello"},     {"don't", true, U"don't"}, {"well-known", true, U"well-known"},
        {"ЁЛКА", false, U"елка"},       {"е\u0308лка", false, U"елка"},
        {"Asunción", true, std::nullopt},  // a letter outside the alphabet
        {"0th", true, std::nullopt},       {"--", true, std::nullopt},  // no letter
        {"hello", false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(wordOf(c.text, c.english ? *english : *russian), c.word);
    }
}

TEST(WordListTest, AddsTheDistinctWordsOfAFileAndCountsTheRest) {
    const auto english = desktop::LetterAlphabet::make(U"abcdefghijklmnopqrstuvwxyz'-", U"", U"");
    ASSERT_TRUE(english.has_value());
    const std::string path = ::testing::TempDir() + "/tarvelo_word_list_test.txt";
    std::ofstream(path, std::ios::binary) << "zebra\r\n  apple \n\nApple\nAsunción\n2nd\nzebra\n";

    WordSet words;
    std::size_t skipped = 0;
    std::string error;
    ASSERT_TRUE(addWordsOfFile(path, *english, words, skipped, error)) << error;
    EXPECT_EQ(words, (WordSet{U"apple", U"zebra"}));
    EXPECT_EQ(skipped, 2u);

    std::ofstream(path, std::ios::binary) << "apple\n\xFFzebra\n";
    EXPECT_FALSE(addWordsOfFile(path, *english, words, skipped, error));
    EXPECT_NE(error.find("offset 6"), std::string::npos) << error;
    std::remove(path.c_str());
    EXPECT_FALSE(addWordsOfFile(path, *english, words, skipped, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

TEST(WordListTest, KeepsBackAboutATenthOfTheWords) {
    std::size_t heldOut = 0;
    const std::size_t total = 20000;
    for (std::size_t i = 0; i < total; ++i) {
        std::u32string word;
        for (std::size_t n = i; ; n /= 26) {
            word += static_cast<char32_t>(U'a' + n % 26);
            if (n < 26) break;
        }
        heldOut += isHeldOut(word) ? 1 : 0;
    }
    EXPECT_GT(heldOut, total * 8 / 100);
    EXPECT_LT(heldOut, total * 12 / 100);
}

}  // namespace
}  // namespace tarvelo::model
