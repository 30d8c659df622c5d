// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_trigram_model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarvelo::desktop {
namespace {

// The usual discount for counts of a few thousand contexts; the calibration absorbs the rest.
constexpr double kDiscount = 0.75;

}  // namespace

LetterTrigramModel::LetterTrigramModel(const LetterTrigramCounts& counts, const LetterAlphabet& alphabet)
    : symbolCount_(alphabet.symbolCount()),
      table_(symbolCount_ * symbolCount_ * symbolCount_),
      unigram_(symbolCount_) {
    const std::size_t n = symbolCount_;
    const auto symbolOf = [&](char32_t scalar) -> std::optional<LetterAlphabet::Symbol> {
        if (scalar == LetterTrigramCounts::kWordStart || scalar == LetterTrigramCounts::kWordEnd) return 0;
        return alphabet.symbol(scalar);
    };

    std::vector<double> trigram(n * n * n, 0.0);
    for (const auto& [key, count] : counts.trigrams()) {
        const auto a = symbolOf(key[0]);
        const auto b = symbolOf(key[1]);
        const auto c = symbolOf(key[2]);
        if (!a || !b || !c) continue;
        trigram[(*a * n + *b) * n + *c] += static_cast<double>(count);
    }

    // Bigram and unigram counts are the trigram counts summed over the symbols dropped in front, so a
    // symbol's lower-order count is the number of times it was predicted after that shorter context.
    std::vector<double> bigram(n * n, 0.0);
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b)
            for (std::size_t c = 0; c < n; ++c) bigram[b * n + c] += trigram[(a * n + b) * n + c];
    std::vector<double> unigram(n, 0.0);
    double total = 0.0;
    for (std::size_t b = 0; b < n; ++b)
        for (std::size_t c = 0; c < n; ++c) {
            unigram[c] += bigram[b * n + c];
            total += bigram[b * n + c];
        }

    std::vector<double> unigramProbability(n);
    for (std::size_t c = 0; c < n; ++c) {
        unigramProbability[c] = (unigram[c] + 1.0) / (total + static_cast<double>(n));
        unigram_[c] = static_cast<float>(std::log(unigramProbability[c]));
    }

    // Interpolates the counts after one context with the next lower order's distribution.
    const auto discounted = [&](const double* row, const double* lower, double* out) {
        double sum = 0.0;
        double types = 0.0;
        for (std::size_t c = 0; c < n; ++c) {
            sum += row[c];
            if (row[c] > 0.0) types += 1.0;
        }
        for (std::size_t c = 0; c < n; ++c) {
            out[c] = sum > 0.0 ? (std::max(row[c] - kDiscount, 0.0) + kDiscount * types * lower[c]) / sum : lower[c];
        }
    };

    std::vector<double> bigramProbability(n * n);
    for (std::size_t b = 0; b < n; ++b) {
        discounted(&bigram[b * n], unigramProbability.data(), &bigramProbability[b * n]);
    }

    std::vector<double> row(n);
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = 0; b < n; ++b) {
            discounted(&trigram[(a * n + b) * n], &bigramProbability[b * n], row.data());
            for (std::size_t c = 0; c < n; ++c) table_[(a * n + b) * n + c] = static_cast<float>(std::log(row[c]));
        }
    }
}

double LetterTrigramModel::logLikelihood(std::span<const LetterAlphabet::Symbol> word) const {
    LetterAlphabet::Symbol first = 0;
    LetterAlphabet::Symbol second = 0;
    double sum = 0.0;
    for (const LetterAlphabet::Symbol next : word) {
        sum += logProbability(first, second, next);
        first = second;
        second = next;
    }
    return sum + logProbability(first, second, 0);
}

double LetterTrigramModel::unigramLogLikelihood(std::span<const LetterAlphabet::Symbol> word) const {
    double sum = unigram_[0];
    for (const LetterAlphabet::Symbol symbol : word) sum += unigram_[symbol];
    return sum;
}

}  // namespace tarvelo::desktop
