// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_model.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/linux/language/letter_trigram_model.h"
#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

TEST(LetterTrigramModelTest, EveryContextGivesADistributionOverTheNextSymbol) {
    LetterTrigramCounts counts;
    for (const std::u32string word : {U"ab", U"abb", U"ba", U"a-b"}) counts.addWord(word);
    const auto alphabet = LetterAlphabet::make(U"ab-", U"", U"");
    ASSERT_TRUE(alphabet.has_value());
    const LetterTrigramModel model(counts, *alphabet);

    const auto symbols = static_cast<LetterAlphabet::Symbol>(alphabet->symbolCount());
    for (LetterAlphabet::Symbol first = 0; first < symbols; ++first) {
        for (LetterAlphabet::Symbol second = 0; second < symbols; ++second) {
            double total = 0.0;
            for (LetterAlphabet::Symbol next = 0; next < symbols; ++next) {
                const double logProbability = model.logProbability(first, second, next);
                EXPECT_TRUE(std::isfinite(logProbability));
                total += std::exp(logProbability);
            }
            EXPECT_NEAR(total, 1.0, 1e-6) << "after " << int{first} << " " << int{second};
        }
    }
    // Seen continuations beat unseen ones: after the start "a" is followed by "b" and "-", never by "a".
    const auto a = *alphabet->symbol(U'a');
    const auto b = *alphabet->symbol(U'b');
    EXPECT_GT(model.logProbability(0, a, b), model.logProbability(0, a, a));
    EXPECT_GT(model.logLikelihood(std::vector<LetterAlphabet::Symbol>{a, b}),
              model.logLikelihood(std::vector<LetterAlphabet::Symbol>{b, b, b}));
}

TEST(LetterModelTest, ScoresEachPartBetweenHyphensAsAWordOfItsOwn) {
    LetterModelDescription description;
    description.tag = "xx";
    description.alphabet = U"ab-";
    for (const std::u32string word : {U"ab", U"abb", U"ba"}) description.wordTrigrams.addWord(word);
    for (const std::u32string word : {U"bb", U"bab"}) description.referenceTrigrams.addWord(word);
    const auto model = LetterModel::make(description);
    ASSERT_TRUE(model.has_value());

    const auto ab = model->evidence(U"ab");
    const auto ba = model->evidence(U"ba");
    ASSERT_TRUE(ab && ba);
    EXPECT_EQ(ab->trigrams, 3u);  // ^^a ^ab ab$
    struct Case {
        std::u32string text;
        std::vector<LetterEvidence> parts;
    };
    const std::vector<Case> cases = {
        {U"ab-ba", {*ab, *ba}},
        {U"-ab--ba-", {*ab, *ba}},
        {U"ab-ab-ab", {*ab, *ab, *ab}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::fromScalars(c.text));
        const auto evidence = model->evidence(c.text);
        ASSERT_TRUE(evidence.has_value());
        LetterEvidence sum;
        for (const LetterEvidence& part : c.parts) {
            sum.wordLogLikelihood += part.wordLogLikelihood;
            sum.referenceLogLikelihood += part.referenceLogLikelihood;
            sum.backgroundLogLikelihood += part.backgroundLogLikelihood;
            sum.trigrams += part.trigrams;
        }
        EXPECT_DOUBLE_EQ(evidence->wordLogLikelihood, sum.wordLogLikelihood);
        EXPECT_DOUBLE_EQ(evidence->referenceLogLikelihood, sum.referenceLogLikelihood);
        EXPECT_DOUBLE_EQ(evidence->backgroundLogLikelihood, sum.backgroundLogLikelihood);
        EXPECT_EQ(evidence->trigrams, sum.trigrams);
    }
    // Nothing but hyphens, a character outside the alphabet, or nothing at all: no evidence.
    for (const std::u32string text : {U"--", U"abc", U""}) EXPECT_FALSE(model->evidence(text).has_value());
}

}  // namespace
}  // namespace tarvelo::desktop
