// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/language/letter_model_description.h"

namespace tarvelo::desktop {

// The letter model as it is kept in the repository (data/letter_model.txt): UTF-8 text, one section per
// language.
//
//   # comment lines (the header says where the counts come from)
//   language en
//   alphabet abcdefghijklmnopqrstuvwxyz'-
//   fold ё е                          (optional; scalars read as others)
//   calibration 0.5 -1.2 0.1 -2.0     (ratio weight, average weight, intercept, background log
//                                      weight: LetterModelCalibration)
//   words
//   ^^ a1234 b567 ...                 (LetterTrigramCounts lines)
//   reference
//   ...
//   end
struct LetterModelFile {
    // The comment lines before the first section, without their "# ".
    std::vector<std::string> header;
    std::vector<LetterModelDescription> languages;
};

// None when the text is not of that form (an unknown line, a section without its parts, a number that
// does not parse, a language twice).
std::optional<LetterModelFile> parseLetterModelFile(std::string_view text);

// The text that parseLetterModelFile reads back; calibration numbers with six decimals, so the same
// model always gives the same bytes.
std::string formatLetterModelFile(const LetterModelFile& file);

}  // namespace tarvelo::desktop
