// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atspi/atspi.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/accessibility_api.h"
#include "platform/linux/atspi/atspi_handles.h"
#include "platform/text_range.h"

namespace tarvelo::desktop {

// An editable text object of another application, reached over AT-SPI: the AX attributes the core asks
// for, answered from the Text and EditableText interfaces. Ranges are UTF-16 code units, as the
// interface wants; AT-SPI's offsets are code points in GTK and most toolkits but UTF-16 code units in
// Qt, and are converted both ways. Held for one operation: a range set with "AXSelectedTextRange" is
// remembered here (the application's own selection is left alone) and is the range that
// "AXSelectedText" replaces. Every failed request answers an error code; nothing throws.
class AtspiTextElement final : public AccessibilityElement {
public:
    // An element for `accessible` when it is editable text: it has the Text interface and a text role
    // or the editable state. `states` is its current state set. Nullptr otherwise.
    static std::shared_ptr<AtspiTextElement> create(AtspiAccessible* accessible, AtspiStateSet* states);

    AccessibilityAnswer copyAttribute(std::string_view name) override;
    int setAttribute(std::string_view name, const AccessibilityValue& value) override;
    AccessibilityAnswer copyParameterizedAttribute(std::string_view name,
                                                   const AccessibilityValue& parameter) override;

    // The object this element speaks for (no new reference).
    AtspiAccessible* accessible() const { return accessible_.get(); }

private:
    // Offsets in the application's own unit: [start, end).
    struct Span {
        int start = 0;
        int end = 0;
    };
    enum class OffsetUnit { codePoints, utf16 };

    AtspiTextElement(atspi_handles::AccessiblePtr accessible, atspi_handles::ObjectPtr<AtspiText> text, AtspiRole role,
                     bool singleLine, bool editable);

    OffsetUnit offsetUnit();
    // The selection, or the caret as an empty span, as the application reports it.
    std::optional<Span> applicationSelection();
    std::optional<TextRange> toUnits(Span span);
    // The span for `range`; none when it lies outside the text or splits a character that the
    // application counts as one.
    std::optional<Span> toSpan(TextRange range);
    std::optional<std::string> textOf(Span span);
    std::optional<int> characterCount();
    // The length of `text` in the application's unit.
    int lengthOf(std::string_view text);
    // The length argument of insert_text: bytes, except in Qt, which counts UTF-16 code units.
    int insertLengthOf(std::string_view text);

    AccessibilityAnswer selectedTextRange();
    AccessibilityAnswer selectedText();
    AccessibilityAnswer stringForRange(TextRange range);
    int replaceSelectedText(const std::string& replacement);
    bool insert(int position, const std::string& text);
    bool remove(Span span);
    // Puts the caret at `offset` unless it is there already.
    void placeCaret(int offset);

    atspi_handles::AccessiblePtr accessible_;
    atspi_handles::ObjectPtr<AtspiText> text_;
    atspi_handles::ObjectPtr<AtspiEditableText> editableText_;  // looked up by the first edit
    AtspiRole role_;
    bool singleLine_;
    bool editable_;  // the editable state: the user may change the text
    std::optional<OffsetUnit> offsetUnit_;
    std::optional<TextRange> rememberedRange_;
};

}  // namespace tarvelo::desktop
