// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "pipeline/run_decision.h"
#include "pipeline/run_word.h"

namespace tarvelo {

// What the running-text judge makes of a closing word: the correction, if any, and how the run
// reads once it is made.
struct RunVerdict {
    std::optional<RunDecision> decision;
    // The closing word as the run records it.
    RunWord word;
    // The decision's preceding words as they read after it, oldest first; they take the places of
    // the last `rewritten.size()` words of the run.
    std::vector<RunWord> rewritten;
};

}  // namespace tarvelo
