// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/letter_model.h"

#include <utility>
#include <vector>

namespace tarvelo::desktop {

std::optional<LetterModel> LetterModel::make(const LetterModelDescription& description) {
    auto alphabet = LetterAlphabet::make(description.alphabet, description.foldFrom, description.foldTo);
    if (!alphabet) return std::nullopt;
    return LetterModel(description.tag, std::move(*alphabet), description);
}

LetterModel::LetterModel(std::string tag, LetterAlphabet alphabet, const LetterModelDescription& description)
    : tag_(std::move(tag)),
      alphabet_(std::move(alphabet)),
      words_(description.wordTrigrams, alphabet_),
      reference_(description.referenceTrigrams, alphabet_),
      calibration_(description.calibration) {}

std::vector<std::u32string_view> LetterModel::partsOf(std::u32string_view word) {
    std::vector<std::u32string_view> parts;
    std::size_t start = 0;
    while (start <= word.size()) {
        std::size_t end = word.find(kWordJoiner, start);
        if (end == std::u32string_view::npos) end = word.size();
        if (end > start) parts.push_back(word.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::optional<LetterEvidence> LetterModel::evidence(std::u32string_view word) const {
    std::vector<LetterAlphabet::Symbol> symbols;
    if (!alphabet_.symbols(word, symbols)) return std::nullopt;
    const std::vector<std::u32string_view> parts = partsOf(word);
    if (parts.empty()) return std::nullopt;
    LetterEvidence total;
    for (const std::u32string_view part : parts) {
        alphabet_.symbols(part, symbols);
        total.wordLogLikelihood += words_.logLikelihood(symbols);
        total.referenceLogLikelihood += reference_.logLikelihood(symbols);
        total.backgroundLogLikelihood += words_.unigramLogLikelihood(symbols);
        total.trigrams += symbols.size() + 1;
    }
    return total;
}

double LetterModel::probability(std::u32string_view word) const {
    const auto found = evidence(word);
    return found ? calibration_.probability(*found) : 0.0;
}

}  // namespace tarvelo::desktop
