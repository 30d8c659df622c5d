// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "token_judge.h"

namespace tarvelo::cli {

// How the typing engine treats one distinct word of a corpus, kept for the lists of the most
// frequent failures.
struct WordOutcome {
    // The word as the corpus has it: what was meant.
    std::string word;
    // The token the engine sees: the word itself, or the keys that type it on the other layout.
    std::string typed;
    std::uint64_t occurrences = 0;
    // The verdict on `typed` at the reported sensitivity.
    TokenVerdict verdict;
};

}  // namespace tarvelo::cli
