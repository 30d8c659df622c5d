// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/accessibility_api.h"
#include "platform/text_range.h"

namespace tarvelo {

// An editable text element as an application shows it through accessibility: a role, an optional
// subrole, an optional protected-content value, the text and the selection (UTF-16 code units; a
// selection of length 0 is the caret). Typing and Backspace change it as a text field does. It can be
// told to refuse the edit of "AXSelectedText" or to lack "AXStringForRange", as some applications do.
class FakeTextElement final : public AccessibilityElement {
public:
    explicit FakeTextElement(std::string role = "AXTextArea", std::optional<std::string> subrole = std::nullopt);

    // The text, with the caret at its end.
    void setText(std::string_view text);
    // The text with a caret marked by "|" (or a selection by two "|"), for example "ab|cd" or "a|bc|d".
    void setMarkedText(std::string_view marked);
    const std::string& text() const;
    TextRange selection() const { return selection_; }
    void setSelection(TextRange range);
    // The text with the caret marked as "|" (a selection by two "|"), for reading in test failures.
    std::string markedText() const;

    // What the application does with a key: the text replaces the selection and the caret follows it;
    // Backspace deletes the selection, else the character before the caret.
    void insert(std::string_view text);
    // The same for UTF-16 code units as a posted key event carries them; half of a surrogate pair is
    // kept as it is, so that a pair split across two events joins up again.
    void insert(std::u16string_view units);
    void deleteBackward();
    // What the application does to its text after each typed key, as a web editor keeps a space at the
    // end of a line as U+00A0 or a word processor capitalises a sentence's first word at the space.
    using TypingRule = std::function<void(FakeTextElement& field)>;
    void setAfterTyping(TypingRule rule) { afterTyping_ = std::move(rule); }

    void setRole(std::string role) { role_ = std::move(role); }
    void setSubrole(std::optional<std::string> subrole) { subrole_ = std::move(subrole); }
    void setProtectedContent(std::optional<AccessibilityValue> value) { protectedContent_ = std::move(value); }
    void setRefusesSelectedText(bool refuses) { refusesSelectedText_ = refuses; }
    void setLacksStringForRange(bool lacks) { lacksStringForRange_ = lacks; }
    // Edits "AXSelectedText" as some toolkits do, by deleting and then inserting; between the two the
    // request hook runs with the name "AXSelectedText (deleted)".
    void setEditsInTwoSteps(bool twoSteps) { editsInTwoSteps_ = twoSteps; }

    // Accessibility requests answered so far, and the edits among them that changed the text or selection.
    std::size_t requestCount() const { return requestCount_; }
    std::size_t changeCount() const { return changeCount_; }

    // Runs after every accessibility request has been answered, with the attribute's name; a test moves
    // the focus from here, as the user may between two requests of one operation.
    using RequestHook = std::function<void(std::string_view name)>;
    void setAfterRequest(RequestHook hook) { afterRequest_ = std::move(hook); }

    AccessibilityAnswer copyAttribute(std::string_view name) override;
    int setAttribute(std::string_view name, const AccessibilityValue& value) override;
    AccessibilityAnswer copyParameterizedAttribute(std::string_view name,
                                                   const AccessibilityValue& parameter) override;

private:
    bool contains(TextRange range) const;
    void notifyRequest(std::string_view name);
    void replaceUnits(TextRange range, std::u16string_view replacement);

    std::string role_;
    std::optional<std::string> subrole_;
    std::optional<AccessibilityValue> protectedContent_;
    std::u16string units_;
    mutable std::string text_;  // the UTF-8 form of units_, kept in step
    TextRange selection_;
    bool refusesSelectedText_ = false;
    bool lacksStringForRange_ = false;
    bool editsInTwoSteps_ = false;
    std::size_t requestCount_ = 0;
    std::size_t changeCount_ = 0;
    RequestHook afterRequest_;
    TypingRule afterTyping_;
};

}  // namespace tarvelo
