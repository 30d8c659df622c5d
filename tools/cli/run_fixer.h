// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "analysis/language_detector.h"
#include "analysis/word_analyzer.h"
#include "pipeline/running_text_judge.h"
#include "pipeline/word_buffer.h"
#include "pipeline/word_run.h"
#include "signals.h"

namespace tarvelo::cli {

// Types text into a field key by key, as one run, and makes the corrections the running-text judge
// decides at each word boundary, with the user's exception list empty. Not copyable: the detector
// refers to the signals it owns.
class RunFixer {
public:
    RunFixer(Signals signals, double sensitivity);
    RunFixer(const RunFixer&) = delete;
    RunFixer& operator=(const RunFixer&) = delete;

    // What the field holds after `text` is typed into an empty one as a single run. The end of the
    // text closes the word still being typed.
    std::string fix(std::string_view text);

    // Words the last fix corrected.
    std::size_t correctedWords() const { return correctedWords_; }

    void setSensitivity(double sensitivity) { sensitivity_ = sensitivity; }

private:
    void close(std::string& field, std::string_view word, std::string_view delimiter);

    Signals signals_;
    LanguageDetector detector_;
    RunningTextJudge judge_;
    ExceptionWords noExceptions_;
    WordBuffer buffer_{WordBuffer::Splitting::otherLayoutLetters};
    WordRun run_;
    double sensitivity_;
    std::size_t correctedWords_ = 0;
};

}  // namespace tarvelo::cli
