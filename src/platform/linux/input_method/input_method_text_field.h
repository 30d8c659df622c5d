// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/accessibility_api.h"
#include "platform/text_range.h"

namespace tarvelo::desktop {

// The two edits an input method can make in its client's text.
class InputMethodClientEdits {
public:
    virtual ~InputMethodClientEdits() = default;
    // Deletes `characters` characters just before the caret; `utf8Bytes` is their length in UTF-8
    // when the text is known, for clients that count a deletion in bytes.
    virtual void deleteBeforeCaret(std::size_t characters, std::optional<std::size_t> utf8Bytes) = 0;
    // Whether the client deletes exactly `characters`, the text just before its caret, when asked: one
    // that misreads a deletion's length would take others, and the edit is not made at all.
    virtual bool canDelete(std::u32string_view characters) const {
        (void)characters;
        return true;
    }
    // Inserts `text` at the caret, in place of the selection.
    virtual void commit(std::string_view text) = 0;

protected:
    InputMethodClientEdits() = default;
};

// The focused client's text as the engine knows it: the surrounding text the client last offered
// (text, caret and selection anchor in characters), plus what passed through the engine since, plus the
// key being handled, which the client has not been given yet ("held"). Served through the accessibility
// element interface (UTF-16 ranges, AXSelectedTextRange, AXStringForRange, AXSelectedText), so the
// services read and change it as any other field: a replacement selects the text just before the caret
// and sets AXSelectedText, which becomes one deletion before the caret and one commit. Deleting reaches
// into the held key first; once an edit has taken the key in, the key itself must not reach the client.
// A password or PIN field keeps no text and reads as secure. Without surrounding text the caret is not
// known, and only the blind edits (deleteBefore, insert) are possible.
class InputMethodTextField final : public AccessibilityElement {
public:
    explicit InputMethodTextField(InputMethodClientEdits& client) : client_(client) {}

    // What the client says.
    void setSurroundingText(std::string_view text, std::size_t cursor, std::size_t anchor);
    void setSecure(bool secure);
    bool isSecure() const { return secure_; }
    // The text is no longer known (focus left, the client reset).
    void forget();
    bool knowsText() const { return known_; }

    // The key being handled gives `text`; it is part of the field until finishHeld().
    void hold(std::string_view text);
    // True when an edit took the held key in (the key is answered as handled); else its text stays in
    // the field as the client will show it.
    bool finishHeld();
    // The held key does not reach the client after all (a swallowed key).
    void dropHeld();
    // A Backspace reached the client.
    void noteBackspace();
    // An edit was refused because the client would not delete its characters exactly: typing it instead
    // would do the same, so Backspaces and typed text are refused as well until the next key.
    bool refusesEdits() const { return editRefused_; }

    // Deletes `characters` characters before the caret (the held key's first), then inserts `text`.
    void deleteBefore(std::size_t characters);
    void insert(std::string_view text);

    // The text with the caret as "|" (a selection as two "|"), for tests and nothing else.
    std::string markedText() const;

    AccessibilityAnswer copyAttribute(std::string_view name) override;
    int setAttribute(std::string_view name, const AccessibilityValue& value) override;
    AccessibilityAnswer copyParameterizedAttribute(std::string_view name, const AccessibilityValue& parameter) override;

private:
    std::size_t selectionStart() const { return cursor_ < anchor_ ? cursor_ : anchor_; }
    std::size_t selectionEnd() const { return cursor_ < anchor_ ? anchor_ : cursor_; }
    // Characters to UTF-16 units and back, over the text as it stands.
    std::size_t unitsBefore(std::size_t characters) const;
    std::optional<std::size_t> charactersBefore(std::size_t units) const;
    void replaceSelection(std::u32string_view text);

    InputMethodClientEdits& client_;
    std::u32string text_;
    std::size_t cursor_ = 0;
    std::size_t anchor_ = 0;
    bool known_ = false;
    bool secure_ = false;
    bool holding_ = false;
    bool editRefused_ = false;
    bool heldTaken_ = false;
    std::u32string held_;
    // How many of the held key's characters (from its start, just before the caret) are the held key's, not yet at the client.
    std::size_t heldPending_ = 0;
    // The range an edit is about to replace, chosen through AXSelectedTextRange.
    std::optional<TextRange> chosen_;
};

}  // namespace tarvelo::desktop
