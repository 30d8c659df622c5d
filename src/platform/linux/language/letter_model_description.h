// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/linux/language/letter_model_calibration.h"
#include "platform/linux/language/letter_trigram_counts.h"

namespace tarvelo::desktop {

// Everything stored about one language of the letter model: the counts it is built from and the
// calibration fitted for it.
struct LetterModelDescription {
    // The recogniser's language tag: "en", "ru".
    std::string tag;
    // The scalars a word of the language may consist of (letters, apostrophe, hyphen).
    std::u32string alphabet;
    // Scalars read as others before counting and scoring: foldFrom[i] as foldTo[i].
    std::u32string foldFrom;
    std::u32string foldTo;
    LetterModelCalibration calibration;
    // Trigrams of the language's tokens: its dictionary words (and the abbreviations that stand for
    // them, where the language writes those in lower case), weighted by how often each form is typed.
    LetterTrigramCounts wordTrigrams;
    // Trigrams of the other language's tokens typed on this language's layout, alone and followed by
    // the punctuation that gives letters here, where they stay within the alphabet.
    LetterTrigramCounts referenceTrigrams;
};

}  // namespace tarvelo::desktop
