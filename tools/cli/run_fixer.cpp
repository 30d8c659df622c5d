// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_fixer.h"

#include <utility>

#include "analysis/layout_converter.h"
#include "text/characters.h"

namespace tarvelo::cli {

RunFixer::RunFixer(Signals signals, double sensitivity)
    : signals_(std::move(signals)),
      detector_(LayoutConverter(), signals_.spellChecker(), signals_.recognizer()),
      judge_(detector_),
      sensitivity_(sensitivity) {}

void RunFixer::close(std::string& field, std::string_view word, std::string_view delimiter) {
    RunVerdict verdict = judge_.judge(run_.words(), word, delimiter, sensitivity_, noExceptions_);
    // As the engine does: nothing is replaced unless the field reads exactly as expected, and a
    // refused edit ends the run, which no longer tells what the field holds.
    const bool refused = verdict.decision && !field.ends_with(verdict.decision->expected);
    if (verdict.decision && !refused) {
        field.resize(field.size() - verdict.decision->expected.size());
        field.append(verdict.decision->replacement);
        correctedWords_ += verdict.decision->correctedWords();
    }
    run_.record(std::move(verdict));
    if (refused) run_.clear();
}

std::string RunFixer::fix(std::string_view text) {
    buffer_.clear();
    run_.clear();
    correctedWords_ = 0;
    std::string field;
    field.reserve(text.size() + text.size() / 4);
    // A character never spans a line feed, so segmenting line by line gives the characters of the
    // whole text without holding all of them at once.
    for (std::size_t lineStart = 0; lineStart < text.size();) {
        const std::size_t lineFeed = text.find('\n', lineStart);
        const std::size_t lineEnd = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
        for (const std::string_view key : text::characters(text.substr(lineStart, lineEnd - lineStart))) {
            const bool wasEmpty = buffer_.text().empty() && !buffer_.overflowed();
            const bool closes = buffer_.closes(key);
            std::optional<ClosedWord> closed = buffer_.append(key);
            field.append(key);
            if (closed) {
                close(field, closed->word, closed->delimiter);
            } else if (closes && wasEmpty) {
                run_.extendGap(key);
            } else if (closes) {
                // An over-long word was thrown away: the run goes on without it.
                run_.clear();
            }
        }
        lineStart = lineEnd;
    }
    if (!buffer_.overflowed() && !buffer_.text().empty()) {
        const std::string last = buffer_.text();
        buffer_.clear();
        close(field, last, "");
    }
    return field;
}

}  // namespace tarvelo::cli
