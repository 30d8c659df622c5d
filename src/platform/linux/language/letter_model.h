// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/language/letter_alphabet.h"
#include "platform/linux/language/letter_model_calibration.h"
#include "platform/linux/language/letter_model_description.h"
#include "platform/linux/language/letter_trigram_model.h"

namespace tarvelo::desktop {

// How plausible a word is as a word of one language, judged by its letter trigrams: the likelihood
// under the language's trigram model against that under the alternative (the reference model of the
// other language's words typed on this layout, mixed with the letter frequencies alone), mapped to a
// probability by the calibration.
class LetterModel {
public:
    // None when the description's alphabet is unusable (see LetterAlphabet::make).
    static std::optional<LetterModel> make(const LetterModelDescription& description);

    const std::string& tag() const { return tag_; }
    void setCalibration(const LetterModelCalibration& calibration) { calibration_ = calibration; }

    // Hyphens join words ("из-за", "well-known"); the parts between them are counted and scored as
    // words of their own, as a spell checker checks them, so the model never sees a hyphen.
    static constexpr char32_t kWordJoiner = U'-';

    // The non-empty parts of `word` between hyphens, in order.
    static std::vector<std::u32string_view> partsOf(std::u32string_view word);

    // The evidence for a word given as lower-case scalars, summed over its parts; none when it has a
    // scalar outside the alphabet or no part.
    std::optional<LetterEvidence> evidence(std::u32string_view word) const;

    // The calibrated probability that `word` (lower-case scalars) is a word of the language; 0 when
    // evidence() has none.
    double probability(std::u32string_view word) const;

private:
    LetterModel(std::string tag, LetterAlphabet alphabet, const LetterModelDescription& description);

    std::string tag_;
    LetterAlphabet alphabet_;
    LetterTrigramModel words_;
    LetterTrigramModel reference_;
    LetterModelCalibration calibration_;
};

}  // namespace tarvelo::desktop
