// SPDX-License-Identifier: GPL-3.0-or-later
#include "accuracy_tally.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "token_judge.h"

namespace tarvelo::cli {
namespace {

using Count = AccuracyTally::Count;

TEST(AccuracyTally, SortsWordsIntoLengthClassesByCharacters) {
    const std::vector<std::pair<std::size_t, std::string>> cases = {
        {1, "1-2"}, {2, "1-2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6-7"}, {7, "6-7"}, {8, "8+"}, {64, "8+"},
    };
    for (const auto& [characters, name] : cases) {
        SCOPED_TRACE(characters);
        EXPECT_EQ(AccuracyTally::lengthClassName(AccuracyTally::lengthClass(characters)), name);
    }
}

TEST(AccuracyTally, CountsAWordAtEverySensitivityWhoseRequiredMarginItMeets) {
    AccuracyTally tally;
    EXPECT_TRUE(tally.empty());
    // Required margins: 1.6 at 0, 1.88 at 0.1, 2.02 at 0.15, 3.616 at 0.72, 4.4 at 1.
    tally.add(5, 10, true, requiredMargin(0.72));                            // exactly at the default
    tally.add(3, 4, true, 2.0);                                              // between 0.1 and 0.15
    tally.add(6, 7, true, std::numeric_limits<double>::quiet_NaN());         // never
    tally.add(8, 2, true, std::nullopt);                                     // never
    tally.add(2, 100, false, 50.0);                                          // rejected: never
    EXPECT_FALSE(tally.empty());

    struct Case {
        double sensitivity;
        Count hits;
    };
    for (const Case& c : std::vector<Case>{{0.0, {14, 2}}, {0.1, {14, 2}}, {0.15, {10, 1}}, {0.72, {10, 1}},
                                           {0.75, {0, 0}}, {1.0, {0, 0}}}) {
        SCOPED_TRACE(c.sensitivity);
        const AccuracyTally::Reading reading = tally.overall(c.sensitivity);
        EXPECT_EQ(reading.hits, c.hits);
        EXPECT_EQ(reading.words, (Count{123, 5}));
        EXPECT_EQ(reading.rejected, (Count{100, 1}));
    }
}

TEST(AccuracyTally, ReadsEachLengthClassApartAndTheyAddUpToTheWhole) {
    AccuracyTally tally;
    tally.add(1, 50, false, std::nullopt);
    tally.add(2, 30, false, std::nullopt);
    tally.add(4, 6, true, 9.0);
    tally.add(4, 3, true, 1.0);
    tally.add(12, 1, true, 4.0);

    const auto byLength = tally.byLength(0.72);
    EXPECT_EQ(byLength[0].words, (Count{80, 2}));
    EXPECT_EQ(byLength[0].rejected, (Count{80, 2}));
    EXPECT_EQ(byLength[0].hits, (Count{0, 0}));
    EXPECT_EQ(byLength[1].words, (Count{0, 0}));
    EXPECT_EQ(byLength[2].words, (Count{9, 2}));
    EXPECT_EQ(byLength[2].hits, (Count{6, 1}));
    EXPECT_EQ(byLength[5].hits, (Count{1, 1}));

    AccuracyTally::Reading sum;
    for (const AccuracyTally::Reading& reading : byLength) sum += reading;
    EXPECT_EQ(sum, tally.overall(0.72));
}

TEST(AccuracyTally, SweepsFromZeroToOneInTwentiethsWithTheReportedSensitivityInItsPlace) {
    const std::vector<double> grid = AccuracyTally::sweepSensitivities(0.5);
    ASSERT_EQ(grid.size(), 21u);
    for (std::size_t step = 0; step < grid.size(); ++step) EXPECT_DOUBLE_EQ(grid[step], 0.05 * static_cast<double>(step));

    const std::vector<double> withDefault = AccuracyTally::sweepSensitivities(0.72);
    ASSERT_EQ(withDefault.size(), 22u);
    EXPECT_DOUBLE_EQ(withDefault[14], 0.7);
    EXPECT_EQ(withDefault[15], 0.72);
    EXPECT_DOUBLE_EQ(withDefault[16], 0.75);
}

}  // namespace
}  // namespace tarvelo::cli
