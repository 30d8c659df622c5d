// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/word_buffer.h"

#include "text/characters.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo {

bool WordBuffer::isBoundary(std::string_view character) {
    if (character.size() == 1) {
        switch (character[0]) {
            case '!': case '?': case '"': case '(': case ')': case ':': return true;
            default: break;
        }
    }
    return !character.empty() && text::isWhiteSpace(text::firstScalar(character));
}

bool WordBuffer::closes(std::string_view character) const {
    if (!isBoundary(character)) return false;
    if (splitting_ == Splitting::everyBoundary || (character != ":" && character != "\"")) return true;
    bool cyrillic = false;
    text::forEachScalar(text_, [&](char32_t scalar) { cyrillic = cyrillic || (scalar >= 0x0400 && scalar <= 0x04FF); });
    return cyrillic;
}

std::optional<ClosedWord> WordBuffer::append(std::string_view input) {
    if (text::characterCount(input) != 1) {
        clear();
        return std::nullopt;
    }
    if (!closes(input)) {
        if (overflowed_) return std::nullopt;
        if (characterCount() > kLengthLimit - 1) {
            text_.clear();
            overflowed_ = true;
            return std::nullopt;
        }
        text::appendWellFormed(text_, input);
        return std::nullopt;
    }
    std::string word = overflowed_ ? std::string() : std::move(text_);
    clear();
    if (word.empty()) return std::nullopt;
    return ClosedWord{std::move(word), text::wellFormed(input)};
}

void WordBuffer::clear() {
    text_.clear();
    overflowed_ = false;
}

void WordBuffer::removeLastCharacter() { text_.resize(text::droppingLastCharacter(text_).size()); }

std::size_t WordBuffer::characterCount() const { return text::characterCount(text_); }

}  // namespace tarvelo
