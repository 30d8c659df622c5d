// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>

#include "platform/linux/language/letter_alphabet.h"

namespace tarvelo::model {

// The distinct words of one language, each lower-cased, composed, folded and made of the alphabet's
// scalars with at least one letter; in code point order, so everything built from them is too.
using WordSet = std::set<std::u32string>;

// Adds the words of a file with one word per line (a dictionary list, unmunch output). Lines with
// scalars outside the alphabet ("0th", "Asunción") are skipped and counted in `skipped`. False, with
// `error` set, when the file cannot be read or is not UTF-8.
bool addWordsOfFile(const std::string& path, const desktop::LetterAlphabet& alphabet, WordSet& words,
                    std::size_t& skipped, std::string& error);

// The word as the alphabet reads it (lower-cased, composed, folded); none when it has a scalar outside
// the alphabet or no letter.
std::optional<std::u32string> wordOf(std::string_view text, const desktop::LetterAlphabet& alphabet);

// Whether a word belongs to the tenth kept back from training to fit and check the calibration: a
// hash of its scalars, so the split depends on the word alone.
bool isHeldOut(std::u32string_view word);

}  // namespace tarvelo::model
