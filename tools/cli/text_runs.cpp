// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_runs.h"

#include "text/characters.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo::cli {

std::vector<TextRun> textRuns(std::string_view text) {
    std::vector<TextRun> runs;
    for (const std::string_view character : text::characters(text)) {
        const bool whiteSpace = text::isWhiteSpace(text::firstScalar(character));
        if (runs.empty() || runs.back().whiteSpace != whiteSpace) {
            runs.push_back({character, whiteSpace});
        } else {
            // Characters are consecutive views into `text`, so a run grows by its next character's size.
            std::string_view& run = runs.back().text;
            run = std::string_view(run.data(), run.size() + character.size());
        }
    }
    return runs;
}

}  // namespace tarvelo::cli
