// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

// What reached the focused application lately, so that a replacement can find its word behind the keys
// the user typed after it: the user's keys (their text, a Backspace, or a key whose effect on the text
// cannot be known) and the system's own edits. Keys are numbered from 1 in the order they passed; an
// edit is tied to the key that ended the text it replaced.
//
// Like the word buffer it holds typed text in memory only, and only a little: the last kCapacity keys,
// none older than kLifetime seconds.
class RecentTyping {
public:
    static constexpr std::size_t kCapacity = 128;
    static constexpr double kLifetime = 12.0;

    // A key that reached the application with this text.
    void noteText(std::string_view text, double now) { note(Kind::text, std::string(text), now); }
    void noteBackspace(double now) { note(Kind::backspace, {}, now); }
    // A key whose effect on the text is not known: a chord, an arrow, a key in a password field.
    void noteUnknownKey(double now) { note(Kind::unknown, {}, now); }
    // The text that key `anchor` ended, `removed`, now reads `inserted`.
    void noteEdit(std::uint64_t anchor, std::string removed, std::string inserted, double now);

    // The number of the latest key; 0 before the first.
    std::uint64_t keyCount() const { return keyCount_; }

    // What the application shows after the text that key `anchor` ended: the keys typed since, with the
    // edits made in them. None when a key since had an unknown effect, a Backspace reached back past
    // `anchor`, an edit no longer finds its text, or the record no longer reaches back that far.
    std::optional<std::string> textAfter(std::uint64_t anchor, double now) const;

    // Forgets everything; the numbering goes on.
    void clear() { entries_.clear(); }

private:
    enum class Kind { text, backspace, unknown, edit };
    struct Entry {
        Kind kind = Kind::text;
        std::uint64_t key = 0;  // the key's number; for an edit, its anchor
        double time = 0.0;
        std::string text;      // typed, or removed by an edit
        std::string inserted;  // an edit's new text
    };

    void note(Kind kind, std::string text, double now);
    void prune(double now);
    // The number of the oldest key still recorded; keyCount_ + 1 when there is none.
    std::uint64_t oldestKey() const;

    std::deque<Entry> entries_;
    std::uint64_t keyCount_ = 0;
    std::size_t keysHeld_ = 0;
};

}  // namespace tarvelo
