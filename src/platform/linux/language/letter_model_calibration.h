// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace tarvelo::desktop {

// What a letter model finds in one word, as natural log-likelihoods: under the model of the language's
// words, under the reference model of what the other layout's words look like when typed on this one,
// and under the language's letter frequencies alone (the background: letters in no particular order).
struct LetterEvidence {
    double wordLogLikelihood = 0.0;
    double referenceLogLikelihood = 0.0;
    double backgroundLogLikelihood = 0.0;
    // Trigrams scored: the word's length plus one for its end.
    std::size_t trigrams = 0;
};

// The map from evidence to the probability that a word is a real word of the language rather than
// something else typed in its script: a word of the other language typed on the wrong layout, or a
// string with no particular shape (an abbreviation, an identifier, a file suffix). The alternative's
// likelihood mixes the reference and the background, the background weighted by exp(backgroundLogWeight);
// r = ln P(word | language) − ln P(word | alternative), and
// p = 1 / (1 + exp(−(ratioWeight × r + averageWeight × r / trigrams + intercept))).
// The background weight is chosen by hand; the rest is fitted on held-out dictionary words.
struct LetterModelCalibration {
    double ratioWeight = 1.0;
    double averageWeight = 0.0;
    double intercept = 0.0;
    double backgroundLogWeight = 0.0;

    // r above.
    double logRatio(const LetterEvidence& evidence) const;
    double probability(const LetterEvidence& evidence) const;

    friend bool operator==(const LetterModelCalibration&, const LetterModelCalibration&) = default;
};

}  // namespace tarvelo::desktop
