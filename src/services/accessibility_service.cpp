// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/accessibility_service.h"

#include <utility>
#include <variant>

#include "text/case_mapping.h"
#include "text/normalization.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

constexpr std::string_view kRole = "AXRole";
constexpr std::string_view kSubrole = "AXSubrole";
constexpr std::string_view kProtectedContent = "AXProtectedContent";
constexpr std::string_view kSelectedTextRange = "AXSelectedTextRange";
constexpr std::string_view kSelectedText = "AXSelectedText";
constexpr std::string_view kStringForRange = "AXStringForRange";

// The selection (or caret) when the element reports one.
std::optional<TextRange> selectedRange(AccessibilityElement& element) {
    const AccessibilityAnswer answer = element.copyAttribute(kSelectedTextRange);
    if (answer.error != accessibility_error::kSuccess || !answer.value) return std::nullopt;
    if (const TextRange* range = std::get_if<TextRange>(&*answer.value)) return *range;
    return std::nullopt;
}

}  // namespace

std::shared_ptr<AccessibilityElement> AccessibilityService::focusedElement() { return api_.focusedElement(); }

std::optional<std::string> AccessibilityService::stringAttribute(std::string_view name, AccessibilityElement& element) {
    AccessibilityAnswer answer = element.copyAttribute(name);
    if (answer.error != accessibility_error::kSuccess || !answer.value) return std::nullopt;
    if (std::string* value = std::get_if<std::string>(&*answer.value)) return std::move(*value);
    return std::nullopt;
}

bool AccessibilityService::isSecureInputFocused() {
    const std::shared_ptr<AccessibilityElement> element = focusedElement();
    if (element == nullptr) return true;

    const std::optional<std::string> role = stringAttribute(kRole, *element);
    const std::optional<std::string> subrole = stringAttribute(kSubrole, *element);
    if (subrole && text::canonicallyEqual(*subrole, "AXSecureTextField")) return true;
    // Some toolkits mark their password fields with a subrole of their own naming.
    if (role && text::canonicallyEqual(*role, "AXTextField") && subrole &&
        text::lowercased(*subrole).find("secure") != std::string::npos) {
        return true;
    }

    const AccessibilityAnswer protectedContent = element->copyAttribute(kProtectedContent);
    if (protectedContent.error == accessibility_error::kSuccess && protectedContent.value) {
        const bool* isProtected = std::get_if<bool>(&*protectedContent.value);
        if (isProtected != nullptr && *isProtected) return true;
    }
    return false;
}

bool AccessibilityService::replaceTextBeforeCaret(std::int64_t utf16Length, std::string_view text) {
    if (utf16Length <= 0) return false;
    return replaceBeforeCaret(static_cast<std::size_t>(utf16Length), 0, std::nullopt, text) == ReplaceOutcome::replaced;
}

AccessibilityService::ReplaceOutcome AccessibilityService::replaceExpectedTextBeforeCaret(std::string_view expected,
                                                                                          std::string_view after,
                                                                                          std::string_view text) {
    const std::size_t length = text::utf16Length(expected);
    if (length == 0) return ReplaceOutcome::textDiffers;
    std::string whole(expected);
    whole += after;
    return replaceBeforeCaret(length, text::utf16Length(after), whole, text);
}

AccessibilityService::ReplaceOutcome AccessibilityService::replaceBeforeCaret(std::size_t length,
                                                                              std::size_t afterLength,
                                                                              std::optional<std::string_view> expected,
                                                                              std::string_view text) {
    const std::shared_ptr<AccessibilityElement> element = focusedElement();
    if (element == nullptr || isSecureInputFocused()) return ReplaceOutcome::cannotEdit;

    const std::optional<TextRange> caret = selectedRange(*element);
    if (!caret) return ReplaceOutcome::cannotEdit;
    // A selection or too short a text: the user has done something since the word was checked.
    if (caret->length != 0 || caret->location < length + afterLength) {
        return expected ? ReplaceOutcome::textDiffers : ReplaceOutcome::cannotEdit;
    }
    const TextRange word{caret->location - afterLength - length, length};
    if (expected) {
        const AccessibilityAnswer answer =
            element->copyParameterizedAttribute(kStringForRange, TextRange{word.location, length + afterLength});
        // An element that cannot show its text was judged by the caller; one that can must still hold it.
        if (answer.error == accessibility_error::kSuccess) {
            const std::string* before = answer.value ? std::get_if<std::string>(&*answer.value) : nullptr;
            if (before == nullptr || !text::canonicallyEqual(*before, *expected)) return ReplaceOutcome::textDiffers;
        }
    }

    if (element->setAttribute(kSelectedTextRange, word) != accessibility_error::kSuccess) {
        return ReplaceOutcome::cannotEdit;
    }
    const int error = element->setAttribute(kSelectedText, std::string(text));
    if (error != accessibility_error::kSuccess) {
        // Whether or not the caret goes back, the answer is the refusal.
        element->setAttribute(kSelectedTextRange, *caret);
        return ReplaceOutcome::cannotEdit;
    }
    if (afterLength > 0) {
        // The caret goes back behind what the user typed after the word, where the next key belongs.
        element->setAttribute(kSelectedTextRange, TextRange{word.location + text::utf16Length(text) + afterLength, 0});
    }
    return ReplaceOutcome::replaced;
}

TextCheck AccessibilityService::textBeforeCaretEnds(std::string_view expected) {
    const std::shared_ptr<AccessibilityElement> element = focusedElement();
    if (element == nullptr || isSecureInputFocused()) return TextCheck::no;

    const std::optional<TextRange> selection = selectedRange(*element);
    if (!selection) return TextCheck::unknown;
    const std::size_t length = text::utf16Length(expected);
    if (selection->location < length) return TextCheck::no;

    const AccessibilityAnswer answer =
        element->copyParameterizedAttribute(kStringForRange, TextRange{selection->location - length, length});
    if (answer.error != accessibility_error::kSuccess) return TextCheck::unknown;
    if (!answer.value) return TextCheck::no;
    const std::string* before = std::get_if<std::string>(&*answer.value);
    if (before == nullptr) return TextCheck::no;
    return text::canonicallyEqual(*before, expected) ? TextCheck::yes : TextCheck::no;
}

}  // namespace tarvelo
