// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_text_element.h"

#include <algorithm>
#include <utility>

#include "text/characters.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

namespace ax = accessibility_error;

constexpr char kMarker = '|';

AccessibilityAnswer failure(int error) { return AccessibilityAnswer{error, std::nullopt}; }

AccessibilityAnswer success(AccessibilityValue value) {
    return AccessibilityAnswer{ax::kSuccess, std::move(value)};
}

}  // namespace

FakeTextElement::FakeTextElement(std::string role, std::optional<std::string> subrole)
    : role_(std::move(role)), subrole_(std::move(subrole)) {}

void FakeTextElement::setText(std::string_view text) {
    units_ = text::toUtf16(text);
    text_ = text::fromUtf16(units_);
    selection_ = TextRange{units_.size(), 0};
}

void FakeTextElement::setMarkedText(std::string_view marked) {
    const std::size_t first = marked.find(kMarker);
    if (first == std::string_view::npos) {
        setText(marked);
        return;
    }
    const std::size_t second = marked.find(kMarker, first + 1);
    const std::string_view before = marked.substr(0, first);
    const std::string_view selected =
        second == std::string_view::npos ? std::string_view{} : marked.substr(first + 1, second - first - 1);
    const std::string_view after = marked.substr(second == std::string_view::npos ? first + 1 : second + 1);

    std::string plain;
    plain.append(before).append(selected).append(after);
    setText(plain);
    selection_ = TextRange{text::utf16Length(before), text::utf16Length(selected)};
}

const std::string& FakeTextElement::text() const { return text_; }

void FakeTextElement::setSelection(TextRange range) {
    const std::size_t location = std::min(range.location, units_.size());
    selection_ = TextRange{location, std::min(range.length, units_.size() - location)};
}

std::string FakeTextElement::markedText() const {
    const std::u16string_view units = units_;
    std::string marked = text::fromUtf16(units.substr(0, selection_.location));
    marked += kMarker;
    if (selection_.length > 0) {
        marked += text::fromUtf16(units.substr(selection_.location, selection_.length));
        marked += kMarker;
    }
    marked += text::fromUtf16(units.substr(selection_.location + selection_.length));
    return marked;
}

void FakeTextElement::insert(std::string_view text) { insert(text::toUtf16(text)); }

void FakeTextElement::insert(std::u16string_view units) {
    replaceUnits(selection_, units);
    if (afterTyping_) afterTyping_(*this);
}

void FakeTextElement::deleteBackward() {
    if (selection_.length > 0) {
        replaceUnits(selection_, {});
        return;
    }
    if (selection_.location == 0) return;
    const std::string before = text::fromUtf16(std::u16string_view(units_).substr(0, selection_.location));
    // A whole user-perceived character goes, as a text field deletes "е\u0308" or an emoji at once.
    const std::size_t length =
        std::clamp<std::size_t>(text::utf16Length(text::lastCharacter(before)), 1, selection_.location);
    replaceUnits(TextRange{selection_.location - length, length}, {});
}

AccessibilityAnswer FakeTextElement::copyAttribute(std::string_view name) {
    ++requestCount_;
    AccessibilityAnswer answer = failure(ax::kAttributeUnsupported);
    if (name == "AXRole") {
        answer = success(role_);
    } else if (name == "AXSubrole") {
        answer = subrole_ ? success(*subrole_) : failure(ax::kNoValue);
    } else if (name == "AXProtectedContent") {
        if (protectedContent_) answer = success(*protectedContent_);
    } else if (name == "AXSelectedTextRange") {
        answer = success(selection_);
    } else if (name == "AXSelectedText") {
        answer = success(text::fromUtf16(std::u16string_view(units_).substr(selection_.location, selection_.length)));
    }
    notifyRequest(name);
    return answer;
}

int FakeTextElement::setAttribute(std::string_view name, const AccessibilityValue& value) {
    ++requestCount_;
    int error = ax::kAttributeUnsupported;
    if (name == "AXSelectedTextRange") {
        const TextRange* range = std::get_if<TextRange>(&value);
        if (range == nullptr || !contains(*range)) {
            error = ax::kIllegalArgument;
        } else {
            if (*range != selection_) ++changeCount_;
            selection_ = *range;
            error = ax::kSuccess;
        }
    } else if (name == "AXSelectedText") {
        const std::string* replacement = std::get_if<std::string>(&value);
        if (refusesSelectedText_) {
            error = ax::kCannotComplete;
        } else if (replacement == nullptr) {
            error = ax::kIllegalArgument;
        } else {
            if (editsInTwoSteps_) {
                replaceUnits(selection_, {});
                notifyRequest("AXSelectedText (deleted)");
            }
            replaceUnits(selection_, text::toUtf16(*replacement));
            ++changeCount_;
            error = ax::kSuccess;
        }
    }
    notifyRequest(name);
    return error;
}

AccessibilityAnswer FakeTextElement::copyParameterizedAttribute(std::string_view name,
                                                                const AccessibilityValue& parameter) {
    ++requestCount_;
    AccessibilityAnswer answer = failure(ax::kParameterizedAttributeUnsupported);
    if (name == "AXStringForRange" && !lacksStringForRange_) {
        const TextRange* range = std::get_if<TextRange>(&parameter);
        if (range == nullptr || !contains(*range)) {
            answer = failure(ax::kIllegalArgument);
        } else {
            answer = success(text::fromUtf16(std::u16string_view(units_).substr(range->location, range->length)));
        }
    }
    notifyRequest(name);
    return answer;
}

bool FakeTextElement::contains(TextRange range) const {
    return range.location <= units_.size() && range.length <= units_.size() - range.location;
}

void FakeTextElement::notifyRequest(std::string_view name) {
    if (afterRequest_) {
        // A copy: the hook may replace itself.
        const RequestHook hook = afterRequest_;
        hook(name);
    }
}

void FakeTextElement::replaceUnits(TextRange range, std::u16string_view replacement) {
    units_.replace(range.location, range.length, replacement);
    text_ = text::fromUtf16(units_);
    selection_ = TextRange{range.location + replacement.size(), 0};
}

}  // namespace tarvelo
