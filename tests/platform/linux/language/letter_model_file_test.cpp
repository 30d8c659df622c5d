// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_model_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/linux/language/built_in_letter_model.h"

namespace tarvelo::desktop {
namespace {

TEST(LetterModelFileTest, TheBuiltInModelReadsBackToTheSameBytes) {
    const std::string_view text = builtInLetterModelText();
    const auto file = parseLetterModelFile(text);
    ASSERT_TRUE(file.has_value());
    ASSERT_EQ(file->languages.size(), 2u);
    EXPECT_EQ(file->languages[0].tag, "en");
    EXPECT_EQ(file->languages[1].tag, "ru");
    EXPECT_FALSE(file->languages[0].wordTrigrams.empty());
    EXPECT_FALSE(file->languages[1].referenceTrigrams.empty());
    EXPECT_EQ(formatLetterModelFile(*file), text);
}

TEST(LetterModelFileTest, CountsEveryTrigramOfTheBoundedWord) {
    LetterTrigramCounts counts;
    counts.addWord(U"aba");
    counts.addWord(U"a");
    counts.addWord(U"");
    EXPECT_EQ(counts.format(), "^^ a2\n^a $1 b1\nab a1\nba $1\n");

    LetterTrigramCounts read;
    for (const std::string line : {"^^ a2", "^a $1 b1", "ab a1", "ba $1"}) EXPECT_TRUE(read.addFormattedLine(line));
    EXPECT_EQ(read.trigrams(), counts.trigrams());
}

TEST(LetterModelFileTest, RejectsTextThatIsNotAModel) {
    const std::string section = "language xx\nalphabet ab\ncalibration 1 0 0 0\nwords\n^^ a1\nreference\n^^ b1\nend\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a section without its end", "language xx\nalphabet ab\ncalibration 1 0 0 0\nwords\n^^ a1\nreference\n"},
        {"words before the alphabet", "language xx\ncalibration 1 0 0 0\nwords\nend\n"},
        {"words before the calibration", "language xx\nalphabet ab\nwords\nreference\nend\n"},
        {"a calibration that is not a number",
         "language xx\nalphabet ab\ncalibration 1 x 0 0\nwords\nreference\nend\n"},
        {"a count of zero", "language xx\nalphabet ab\ncalibration 1 0 0 0\nwords\n^^ a0\nreference\nend\n"},
        {"a symbol without a count", "language xx\nalphabet ab\ncalibration 1 0 0 0\nwords\n^^ a\nreference\nend\n"},
        {"a count without a symbol", "language xx\nalphabet ab\ncalibration 1 0 0 0\nwords\n^^ 5\nreference\nend\n"},
        {"a context of one symbol", "language xx\nalphabet ab\ncalibration 1 0 0 0\nwords\n^ a5\nreference\nend\n"},
        {"the same language twice", section + section},
        {"an unknown line", "hello\n" + section},
        {"ill-formed UTF-8", "language xx\nalphabet a\xFF\ncalibration 1 0 0 0\nwords\nreference\nend\n"},
        // Found by fuzzing: a line of spaces has no first field, which the section header read all the same.
        {"a line of spaces in a section header", "language xx\n  \nalphabet ab\ncalibration 1 0 0 0\nwords\nreference\nend\n"},
        {"a line of spaces between sections", section + " \n" + section},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(parseLetterModelFile(text).has_value());
    }
    EXPECT_TRUE(parseLetterModelFile("# a comment\n\n" + section).has_value());
}

}  // namespace
}  // namespace tarvelo::desktop
