// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

// A word closed by a boundary character, and that character.
struct ClosedWord {
    std::string word;
    std::string delimiter;

    friend bool operator==(const ClosedWord&, const ClosedWord&) = default;
};

// The word being typed, one key at a time. It is also the privacy limit of the system: it never
// holds more than 64 characters, and a longer word is thrown away whole.
class WordBuffer {
public:
    static constexpr std::size_t kLengthLimit = 64;

    // Where a word ends.
    enum class Splitting {
        // At every boundary character.
        everyBoundary,
        // As `everyBoundary`, except that : and " (Ж and Э on the Russian layout) join a word that has
        // no Cyrillic letter so far, empty included: a word typed on the English layout may be Russian.
        otherLayoutLetters,
    };

    explicit WordBuffer(Splitting splitting = Splitting::everyBoundary) : splitting_(splitting) {}

    // Takes the text of one key press. White space and the six delimiters ! ? " ( ) : close the word
    // and return it with the very text appended as its delimiter; any other single character joins
    // the word; an input that is not exactly one character (empty, or a composed sequence) clears the
    // buffer.
    std::optional<ClosedWord> append(std::string_view input);

    // Forgets the current word (the monitor abandons it on keys that break the typing flow).
    void clear();

    // The Delete key: removes the last character, if any. A buffer that is throwing away an
    // over-long word goes on doing so.
    void removeLastCharacter();

    const std::string& text() const { return text_; }
    bool overflowed() const { return overflowed_; }
    std::size_t characterCount() const;

    // White space (by its first scalar) or one of the six delimiters.
    static bool isBoundary(std::string_view character);

    // Whether `character` would close the word so far.
    bool closes(std::string_view character) const;

private:
    Splitting splitting_;
    std::string text_;
    bool overflowed_ = false;
};

}  // namespace tarvelo
