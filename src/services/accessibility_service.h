// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/accessibility_api.h"

namespace tarvelo {

// The answer of a read-back: the element said yes or no, or gave no answer at all.
enum class TextCheck { yes, no, unknown };

// Whether a field that shows `field` holds the text `expected` that was typed into it: canonically
// equivalent text, where a typed space may show as U+00A0 NO-BREAK SPACE (web editors store a space
// typed at the end of a line so, and turn it back into a space once more text follows).
bool fieldShows(std::string_view field, std::string_view expected);

// The one place that looks into another application's text. Every operation that reads or writes text
// first asks whether the focus is secure and gives up when it is; a focus that cannot be found counts
// as secure. Holds no state: each call finds the focused element afresh.
class AccessibilityService {
public:
    explicit AccessibilityService(AccessibilityApi& api) : api_(api) {}
    AccessibilityService(const AccessibilityService&) = delete;
    AccessibilityService& operator=(const AccessibilityService&) = delete;

    std::shared_ptr<AccessibilityElement> focusedElement();
    // Where the selection of the focused field is read and replaced (AccessibilityApi::selectionElement).
    std::shared_ptr<AccessibilityElement> selectionElement() { return api_.selectionElement(); }

    // The named attribute when the element answers it with a string.
    std::optional<std::string> stringAttribute(std::string_view name, AccessibilityElement& element);

    // True means: treat the focus as a password field and do not touch it.
    bool isSecureInputFocused();

    // Replaces the `utf16Length` code units just before the caret by `text` in one edit. False when
    // there is a selection, too little text before the caret, or the element refuses; the caret is then
    // put back where it was.
    bool replaceTextBeforeCaret(std::int64_t utf16Length, std::string_view text);

    // What became of a replacement of known text.
    enum class ReplaceOutcome { replaced, textDiffers, cannotEdit };

    // Replaces `expected`, which must stand just before `after` and the caret, by `text` in one edit, and
    // leaves the caret after `after` (the keys the user typed since). Characters that `expected` and
    // `text` share at the start are left as they stand, and those they share at the end are written
    // as the field held them (a web editor's no-break space stays one). The text is read again in the same
    // breath as the edit, so a key that reached the application since the caller last looked is never
    // taken for part of the word: the answer is then `textDiffers` and nothing changes. `cannotEdit` when
    // the element refuses the edit; typing may then do it.
    ReplaceOutcome replaceExpectedTextBeforeCaret(std::string_view expected, std::string_view after,
                                                  std::string_view text);

    // Whether the text just before the selection (or caret) is `expected`, as `fieldShows` compares;
    // unknown when the element gives no answer.
    TextCheck textBeforeCaretEnds(std::string_view expected);

    // The `utf16Length` code units just before the selection (or caret) as the field holds them; none when
    // the element gives no answer, holds less text, or is a password field.
    std::optional<std::string> textBeforeCaret(std::size_t utf16Length);

private:
    // Text that must stand before the caret for an edit to be made: `beforeLength` units of it come
    // before the units replaced, the rest are those units and the ones after them. The replaced units
    // end in `keptEnd` (as typed), which the replacement ends in too and writes in the field's form.
    struct Checked {
        std::string_view text;
        std::size_t beforeLength = 0;
        std::string_view keptEnd;
    };
    // Replaces the `length` units that end `afterLength` units before the caret by `text` (followed by
    // the kept end), when the text ends as `checked` says, if given.
    ReplaceOutcome replaceBeforeCaret(std::size_t length, std::size_t afterLength, std::optional<Checked> checked,
                                      std::string_view text);

    AccessibilityApi& api_;
};

}  // namespace tarvelo
