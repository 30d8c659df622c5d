// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

#include "analysis/layout_converter.h"
#include "platform/event_tap.h"
#include "platform/keyboard_events.h"
#include "services/accessibility_service.h"

namespace tarvelo {

// Changes text in the focused application: by one accessibility edit where the application allows it,
// else by marked Backspace presses and typed text. Every event it posts carries the synthetic-event
// marker so that the keyboard monitor lets it pass.
class TextReplacementService {
public:
    static constexpr std::uint16_t kTypingKey = 0;
    // The most UTF-16 code units one typing event carries.
    static constexpr std::size_t kChunkSize = 20;

    TextReplacementService(AccessibilityService& accessibility, KeyboardEvents& keyboard)
        : accessibility_(accessibility), keyboard_(keyboard) {}
    TextReplacementService(const TextReplacementService&) = delete;
    TextReplacementService& operator=(const TextReplacementService&) = delete;

    // Removes `characterCount` characters before the caret and types `text`. True when everything was
    // handed to the application (not that it has shown it yet); false when nothing or only part was.
    bool replacePreviousText(std::int64_t characterCount, std::string_view text);

    // Replaces `expected`, which stands just before `after` (the keys typed since) and the caret, by
    // `text` in one accessibility edit, and leaves the caret after `after`. A change since the caller
    // checked the text refuses the whole replacement (`textDiffers`); `cannotEdit` when the application
    // does not take such an edit, or the focus is a password field.
    AccessibilityService::ReplaceOutcome editExpectedText(std::string_view expected, std::string_view after,
                                                          std::string_view text);

    // Backspaces over the characters of `expected`, just before the caret, then types `text`: for an
    // application that takes no accessibility edit. Never into a password field.
    bool typeOverExpectedText(std::string_view expected, std::string_view text);

    // Replaces the selection by its conversion. There is no keystroke fall-back for a selection.
    bool convertSelection(const LayoutConverter& converter);

    // Types `text` as marked keyboard events of at most 20 code units each.
    bool postUnicode(std::string_view text);

private:
    // Backspaces over `characterCount` characters, then types `text`.
    bool typeOver(std::int64_t characterCount, std::string_view text);
    bool postKey(std::uint16_t keyCode, bool keyDown, const std::u16string& text);

    AccessibilityService& accessibility_;
    KeyboardEvents& keyboard_;
};

}  // namespace tarvelo
