// SPDX-License-Identifier: GPL-3.0-or-later
#include "closed_words.h"

#include "pipeline/word_buffer.h"
#include "text/characters.h"

namespace tarvelo::cli {

void forEachClosedWord(std::string_view text, const std::function<void(std::string_view word, std::size_t end)>& visit) {
    WordBuffer buffer;
    // A character never spans a line feed, so segmenting line by line gives the characters of the
    // whole text without holding all of them at once.
    for (std::size_t lineStart = 0; lineStart < text.size();) {
        const std::size_t lineFeed = text.find('\n', lineStart);
        const std::size_t lineEnd = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
        for (const std::string_view character : text::characters(text.substr(lineStart, lineEnd - lineStart))) {
            if (const auto closed = buffer.append(character)) {
                visit(closed->word, static_cast<std::size_t>(character.data() - text.data()));
            }
        }
        lineStart = lineEnd;
    }
    if (!buffer.overflowed() && !buffer.text().empty()) visit(buffer.text(), text.size());
}

}  // namespace tarvelo::cli
