// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_text_element.h"

#include <glib.h>

#include <utility>

#include "platform/linux/atspi/atspi_offsets.h"
#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

using namespace atspi_handles;
using atspi_offsets::codePointsOfFirst;
using atspi_offsets::fitsInt;
using atspi_offsets::unitsOfFirst;
namespace ax = accessibility_error;

AccessibilityAnswer failure(int error) { return AccessibilityAnswer{error, std::nullopt}; }

AccessibilityAnswer success(AccessibilityValue value) { return AccessibilityAnswer{ax::kSuccess, std::move(value)}; }

bool isTextRole(AtspiRole role) {
    switch (role) {
        case ATSPI_ROLE_TEXT:
        case ATSPI_ROLE_ENTRY:
        case ATSPI_ROLE_PASSWORD_TEXT:
        case ATSPI_ROLE_TERMINAL:
        case ATSPI_ROLE_PARAGRAPH:
        case ATSPI_ROLE_DOCUMENT_TEXT:
        case ATSPI_ROLE_DOCUMENT_EMAIL:
        case ATSPI_ROLE_EDITBAR:
        case ATSPI_ROLE_SPIN_BUTTON:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::shared_ptr<AtspiTextElement> AtspiTextElement::create(AtspiAccessible* accessible, AtspiStateSet* states) {
    if (accessible == nullptr || states == nullptr) return nullptr;
    ObjectPtr<AtspiText> text(atspi_accessible_get_text_iface(accessible));
    if (text == nullptr) return nullptr;
    ErrorSlot error;
    const AtspiRole role = atspi_accessible_get_role(accessible, error.out());
    if (error.failed()) return nullptr;
    if (!isTextRole(role) && !atspi_state_set_contains(states, ATSPI_STATE_EDITABLE)) return nullptr;
    // Qt 6 gives its line edits neither the single-line nor the multi-line state, only its text edits
    // the multi-line one.
    const bool singleLine = atspi_state_set_contains(states, ATSPI_STATE_SINGLE_LINE) || role == ATSPI_ROLE_ENTRY ||
                            role == ATSPI_ROLE_PASSWORD_TEXT ||
                            (role == ATSPI_ROLE_TEXT && !atspi_state_set_contains(states, ATSPI_STATE_MULTI_LINE));
    // Qt keeps the editable state on a read-only line edit and adds the read-only one.
    const bool editable = atspi_state_set_contains(states, ATSPI_STATE_EDITABLE) &&
                          !atspi_state_set_contains(states, ATSPI_STATE_READ_ONLY);
    return std::shared_ptr<AtspiTextElement>(
        new AtspiTextElement(ref(accessible), std::move(text), role, singleLine, editable));
}

AtspiTextElement::AtspiTextElement(AccessiblePtr accessible, ObjectPtr<AtspiText> text, AtspiRole role,
                                   bool singleLine, bool editable)
    : accessible_(std::move(accessible)),
      text_(std::move(text)),
      role_(role),
      singleLine_(singleLine),
      editable_(editable) {}

AccessibilityAnswer AtspiTextElement::copyAttribute(std::string_view name) {
    if (name == "AXRole") return success(std::string(singleLine_ ? "AXTextField" : "AXTextArea"));
    if (name == "AXSubrole") {
        if (role_ == ATSPI_ROLE_PASSWORD_TEXT) return success(std::string("AXSecureTextField"));
        return failure(ax::kNoValue);
    }
    if (name == "AXSelectedTextRange") return selectedTextRange();
    if (name == "AXSelectedText") return selectedText();
    return failure(ax::kAttributeUnsupported);
}

int AtspiTextElement::setAttribute(std::string_view name, const AccessibilityValue& value) {
    if (name == "AXSelectedTextRange") {
        const TextRange* range = std::get_if<TextRange>(&value);
        const std::optional<Span> span = range != nullptr ? toSpan(*range) : std::nullopt;
        if (!span) return ax::kIllegalArgument;
        if (range->length == 0) {
            // A caret is moved for real: it is where the user's next key lands.
            rememberedRange_.reset();
            placeCaret(span->start);
            return ax::kSuccess;
        }
        // A range is only remembered for the edit that follows: selecting it in the application would
        // show, and a key typed meanwhile would replace it.
        rememberedRange_ = *range;
        return ax::kSuccess;
    }
    if (name == "AXSelectedText") {
        const std::string* replacement = std::get_if<std::string>(&value);
        if (replacement == nullptr) return ax::kIllegalArgument;
        return replaceSelectedText(*replacement);
    }
    return ax::kAttributeUnsupported;
}

AccessibilityAnswer AtspiTextElement::copyParameterizedAttribute(std::string_view name,
                                                                 const AccessibilityValue& parameter) {
    if (name != "AXStringForRange") return failure(ax::kParameterizedAttributeUnsupported);
    const TextRange* range = std::get_if<TextRange>(&parameter);
    if (range == nullptr) return failure(ax::kIllegalArgument);
    return stringForRange(*range);
}

AtspiTextElement::OffsetUnit AtspiTextElement::offsetUnit() {
    if (offsetUnit_) return *offsetUnit_;
    // libatspi keeps the name per application once it has it. GTK answers only on the application's
    // root object; Qt on any of its objects.
    ErrorSlot error;
    TextPtr toolkit(atspi_accessible_get_toolkit_name(accessible_.get(), error.out()));
    if (toolkit == nullptr) {
        const AccessiblePtr application(atspi_accessible_get_application(accessible_.get(), error.out()));
        if (application != nullptr) toolkit.reset(atspi_accessible_get_toolkit_name(application.get(), error.out()));
    }
    // Qt reports offsets in QString positions, UTF-16 code units; the others count characters.
    const bool qt = toolkit != nullptr && g_ascii_strncasecmp(toolkit.get(), "qt", 2) == 0;
    offsetUnit_ = qt ? OffsetUnit::utf16 : OffsetUnit::codePoints;
    return *offsetUnit_;
}

std::optional<AtspiTextElement::Span> AtspiTextElement::applicationSelection() {
    ErrorSlot error;
    const gint selections = atspi_text_get_n_selections(text_.get(), error.out());
    if (error.failed()) return std::nullopt;
    if (selections > 0) {
        const RangePtr range(atspi_text_get_selection(text_.get(), 0, error.out()));
        if (error.failed() || range == nullptr) return std::nullopt;
        if (range->start_offset >= 0 && range->end_offset > range->start_offset) {
            return Span{range->start_offset, range->end_offset};
        }
    }
    const gint caret = atspi_text_get_caret_offset(text_.get(), error.out());
    if (error.failed() || caret < 0) return std::nullopt;
    return Span{caret, caret};
}

std::optional<TextRange> AtspiTextElement::toUnits(Span span) {
    if (offsetUnit() == OffsetUnit::utf16) {
        return TextRange{static_cast<std::size_t>(span.start), static_cast<std::size_t>(span.end - span.start)};
    }
    const std::optional<std::string> prefix = textOf(Span{0, span.end});
    if (!prefix) return std::nullopt;
    const std::optional<std::size_t> start = unitsOfFirst(*prefix, static_cast<std::size_t>(span.start));
    const std::optional<std::size_t> end = unitsOfFirst(*prefix, static_cast<std::size_t>(span.end));
    if (!start || !end) return std::nullopt;
    return TextRange{*start, *end - *start};
}

std::optional<AtspiTextElement::Span> AtspiTextElement::toSpan(TextRange range) {
    const std::size_t end = range.location + range.length;
    if (end < range.location || !fitsInt(end)) return std::nullopt;
    if (offsetUnit() == OffsetUnit::utf16) {
        const std::optional<int> count = characterCount();
        if (!count || end > static_cast<std::size_t>(*count)) return std::nullopt;
        return Span{static_cast<int>(range.location), static_cast<int>(end)};
    }
    // `end` characters hold at least `end` code units, so this prefix covers the range if the text does.
    const std::optional<std::string> prefix = textOf(Span{0, static_cast<int>(end)});
    if (!prefix) return std::nullopt;
    const std::optional<std::size_t> start = codePointsOfFirst(*prefix, range.location);
    const std::optional<std::size_t> stop = codePointsOfFirst(*prefix, end);
    if (!start || !stop) return std::nullopt;
    return Span{static_cast<int>(*start), static_cast<int>(*stop)};
}

std::optional<std::string> AtspiTextElement::textOf(Span span) {
    ErrorSlot error;
    TextPtr text(atspi_text_get_text(text_.get(), span.start, span.end, error.out()));
    if (error.failed() || text == nullptr) return std::nullopt;
    return std::string(text.get());
}

std::optional<int> AtspiTextElement::characterCount() {
    ErrorSlot error;
    const gint count = atspi_text_get_character_count(text_.get(), error.out());
    if (error.failed() || count < 0) return std::nullopt;
    return count;
}

int AtspiTextElement::lengthOf(std::string_view text) {
    const std::size_t length = offsetUnit() == OffsetUnit::utf16 ? text::utf16Length(text) : atspi_offsets::codePointCount(text);
    return static_cast<int>(length);
}

int AtspiTextElement::insertLengthOf(std::string_view text) {
    const std::size_t length = offsetUnit() == OffsetUnit::utf16 ? text::utf16Length(text) : text.size();
    return static_cast<int>(length);
}

AccessibilityAnswer AtspiTextElement::selectedTextRange() {
    if (rememberedRange_) return success(*rememberedRange_);
    const std::optional<Span> span = applicationSelection();
    if (!span) return failure(ax::kCannotComplete);
    const std::optional<TextRange> range = toUnits(*span);
    if (!range) return failure(ax::kCannotComplete);
    return success(*range);
}

AccessibilityAnswer AtspiTextElement::selectedText() {
    if (rememberedRange_) return stringForRange(*rememberedRange_);
    const std::optional<Span> span = applicationSelection();
    if (!span) return failure(ax::kCannotComplete);
    if (span->end == span->start) return success(std::string());
    std::optional<std::string> text = textOf(*span);
    if (!text) return failure(ax::kCannotComplete);
    return success(std::move(*text));
}

AccessibilityAnswer AtspiTextElement::stringForRange(TextRange range) {
    const std::size_t end = range.location + range.length;
    if (end < range.location || !fitsInt(end)) return failure(ax::kIllegalArgument);
    if (offsetUnit() == OffsetUnit::utf16) {
        const std::optional<int> count = characterCount();
        if (!count) return failure(ax::kCannotComplete);
        if (end > static_cast<std::size_t>(*count)) return failure(ax::kIllegalArgument);
        // Qt sends each half of a surrogate pair that a range cuts as "?". Reading one unit more on
        // each side keeps a pair cut by the range whole; a half cut by the wider read is still one unit,
        // and falls outside the part kept.
        const std::size_t before = range.location > 0 ? 1 : 0;
        const std::size_t after = end < static_cast<std::size_t>(*count) ? 1 : 0;
        const std::optional<std::string> text =
            textOf(Span{static_cast<int>(range.location - before), static_cast<int>(end + after)});
        if (!text) return failure(ax::kCannotComplete);
        const std::u16string units = text::toUtf16(*text);
        if (units.size() != range.length + before + after) return failure(ax::kCannotComplete);
        return success(text::fromUtf16(std::u16string_view(units).substr(before, range.length)));
    }
    // A range in code units may end inside a character that the application counts as one; the prefix
    // in code points covers it, and the cut is made in code units as the core asked.
    const std::optional<std::string> prefix = textOf(Span{0, static_cast<int>(end)});
    if (!prefix) return failure(ax::kCannotComplete);
    const std::u16string units = text::toUtf16(*prefix);
    if (units.size() < end) return failure(ax::kIllegalArgument);
    return success(text::fromUtf16(std::u16string_view(units).substr(range.location, range.length)));
}

int AtspiTextElement::replaceSelectedText(const std::string& replacement) {
    // Qt changes a read-only line edit through EditableText all the same, so the state decides.
    if (!editable_) return ax::kCannotComplete;
    // An application that shows text without letting it be edited this way; the caller types instead.
    editableText_.reset(atspi_accessible_get_editable_text_iface(accessible_.get()));
    if (editableText_ == nullptr) return ax::kCannotComplete;
    std::optional<Span> span;
    if (rememberedRange_) {
        span = toSpan(*rememberedRange_);
        if (!span) return ax::kIllegalArgument;
    } else {
        span = applicationSelection();
        if (!span) return ax::kCannotComplete;
    }
    const std::optional<std::string> original = textOf(*span);
    const std::optional<int> countBefore = characterCount();
    if (!original || !countBefore) return ax::kCannotComplete;
    // A key the user typed after the span keeps its place after the replacement, and so does the caret.
    ErrorSlot caretError;
    const gint caretBefore = atspi_text_get_caret_offset(text_.get(), caretError.out());
    const int keptAfter = !caretError.failed() && caretBefore > span->end ? caretBefore - span->end : 0;

    if (span->end > span->start && !remove(*span)) return ax::kCannotComplete;
    if (!replacement.empty() && !insert(span->start, replacement)) {
        if (!original->empty()) insert(span->start, *original);
        return ax::kCannotComplete;
    }
    // An application may take the edit and still change it (a length limit, a filter); then the field
    // is put back as it was, so that whoever falls back to typing starts from what the user sees.
    const int length = lengthOf(replacement);
    const std::optional<std::string> written = textOf(Span{span->start, span->start + length});
    if (!written || *written != replacement) {
        const std::optional<int> countAfter = characterCount();
        if (countAfter) {
            const int inserted = *countAfter - (*countBefore - (span->end - span->start));
            if (inserted > 0) remove(Span{span->start, span->start + inserted});
            if (!original->empty()) insert(span->start, *original);
        }
        return ax::kFailure;
    }
    rememberedRange_.reset();
    placeCaret(span->start + length + keptAfter);
    return ax::kSuccess;
}

void AtspiTextElement::placeCaret(int offset) {
    // Qt's line edit sets its whole text anew for each edit, which leaves the caret at the end of the
    // text instead of after the replacement. The text is in place whether or not the caret follows.
    ErrorSlot error;
    const gint caret = atspi_text_get_caret_offset(text_.get(), error.out());
    if (error.failed() || caret == offset) return;
    atspi_text_set_caret_offset(text_.get(), offset, error.out());
}

bool AtspiTextElement::insert(int position, const std::string& text) {
    ErrorSlot error;
    const gboolean inserted =
        atspi_editable_text_insert_text(editableText_.get(), position, text.c_str(), insertLengthOf(text), error.out());
    return inserted != FALSE && !error.failed();
}

bool AtspiTextElement::remove(Span span) {
    ErrorSlot error;
    const gboolean removed =
        atspi_editable_text_delete_text(editableText_.get(), span.start, span.end, error.out());
    return removed != FALSE && !error.failed();
}

}  // namespace tarvelo::desktop
