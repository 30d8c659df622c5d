// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "pipeline/run_verdict.h"
#include "pipeline/run_word.h"

namespace tarvelo {

// The words typed since the last focus change, click, caret movement or long pause, as the field
// holds them. Only the last few are kept: no rule looks further back, and typed text is held no
// longer than it is needed.
class WordRun {
public:
    static constexpr std::size_t kRememberedWords = 4;

    const std::vector<RunWord>& words() const { return words_; }

    // The run is broken: what follows starts a new one.
    void clear() { words_.clear(); }

    // A boundary key that closed no word (the second of two spaces) joins the gap after the last word.
    void extendGap(std::string_view key);

    // The closing word, and the preceding words that its decision rewrote.
    void record(RunVerdict verdict);

private:
    std::vector<RunWord> words_;
};

}  // namespace tarvelo
