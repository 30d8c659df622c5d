// SPDX-License-Identifier: GPL-3.0-or-later
// Sentences with named placeholders: every placeholder is filled wherever it stands, and one the caller
// does not name is left for a person to see rather than dropped.

#include "support/translation.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(Translation, FillsNamedPlaceholdersWhereverTheyStand) {
    const struct {
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"Paused until {time}", "Paused until 14:05"},
        {"{time} is when it ends", "14:05 is when it ends"},
        {"{chord} and {chord} again", "Ctrl+Z and Ctrl+Z again"},
        {"Press {chord}, not {key}.", "Press Ctrl+Z, not {key}."},
        {"An open { brace", "An open { brace"},
        {"{}", "{}"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(i18n::format(c.pattern, {{"time", "14:05"}, {"chord", "Ctrl+Z"}}), c.expected) << c.pattern;
    }
}

TEST(Translation, WithoutACatalogTheEnglishTextIsTheText) {
    EXPECT_EQ(i18n::tr("Layout corrected"), "Layout corrected");
    EXPECT_EQ(i18n::trn("{count} correction today", "{count} corrections today", 1), "{count} correction today");
    EXPECT_EQ(i18n::trn("{count} correction today", "{count} corrections today", 21), "{count} corrections today");
}

}  // namespace
}  // namespace tarvelo
