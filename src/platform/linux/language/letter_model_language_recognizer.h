// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/language_recognizer.h"
#include "platform/linux/language/letter_model.h"

namespace tarvelo::desktop {

// The language recogniser of the Linux desktop: for each language of its letter model, the calibrated
// probability that the text is a word of that language rather than a word of the other language typed
// on the wrong layout. Languages are judged independently, so a text can be plausible in both or in
// neither ("ghbdtn" is neither English nor, in Latin letters, Russian).
//
// The text is lower-cased and composed first. A text with no letter gets no hypotheses; a language
// whose alphabet lacks one of the text's characters (the alphabets hold letters, apostrophe and
// hyphen) gets probability 0. Hypotheses come most probable first, ties in the model's language order.
// Portable code; it lives with the Linux backend because it stands in for the platform recogniser
// there. Not synchronised: one thread at a time.
class LetterModelLanguageRecognizer final : public LanguageRecognizer {
public:
    // The model installed with the program (share/tarvelo/letter_model.txt) when the running program is
    // an installed one and that file parses, else the model built into the program.
    LetterModelLanguageRecognizer();
    // The model in `modelText` (the form of data/letter_model.txt); with text that does not parse, a
    // recogniser that answers nothing.
    explicit LetterModelLanguageRecognizer(std::string_view modelText);

    LanguageHypotheses languageHypotheses(std::string_view text, std::size_t maximum) override;

    // The languages' models, in the order of the model text.
    const std::vector<LetterModel>& models() const { return models_; }

private:
    std::vector<LetterModel> models_;
};

}  // namespace tarvelo::desktop
