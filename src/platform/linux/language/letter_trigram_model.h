// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "platform/linux/language/letter_alphabet.h"
#include "platform/linux/language/letter_trigram_counts.h"

namespace tarvelo::desktop {

// The probability of each symbol given the two before it, estimated from trigram counts by interpolated
// absolute discounting (trigram, then bigram, then add-one unigram), kept as natural logarithms in a
// dense table so that scoring a word costs one lookup per symbol. Every trigram has a probability,
// so no word scores minus infinity.
class LetterTrigramModel {
public:
    // Trigrams with a scalar outside `alphabet` are ignored.
    LetterTrigramModel(const LetterTrigramCounts& counts, const LetterAlphabet& alphabet);

    // ln P(next | first, second); symbols as LetterAlphabet numbers them (0 is the boundary).
    double logProbability(LetterAlphabet::Symbol first, LetterAlphabet::Symbol second,
                          LetterAlphabet::Symbol next) const {
        return table_[(first * symbolCount_ + second) * symbolCount_ + next];
    }

    // The sum of ln P over the trigrams of the bounded word: word.size() + 1 terms.
    double logLikelihood(std::span<const LetterAlphabet::Symbol> word) const;

    // The same word under the letter frequencies alone, every symbol and the end drawn independently:
    // what a string of the language's letters in no particular order scores.
    double unigramLogLikelihood(std::span<const LetterAlphabet::Symbol> word) const;

private:
    std::size_t symbolCount_;
    std::vector<float> table_;
    std::vector<float> unigram_;
};

}  // namespace tarvelo::desktop
