// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace tarvelo::cli {

// A maximal run of white-space characters, or of other characters, as a view into its text.
struct TextRun {
    std::string_view text;
    bool whiteSpace = false;
};

// `text` cut into alternating runs, in order, so that joining them gives `text` back byte for byte.
// A character is white space when its first scalar is (so a CR LF pair is one white-space character).
std::vector<TextRun> textRuns(std::string_view text);

}  // namespace tarvelo::cli
