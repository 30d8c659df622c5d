// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/accessibility_service.h"

#include <utility>
#include <variant>
#include <vector>

#include "text/case_mapping.h"
#include "text/characters.h"
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

// What web editors (Firefox, Chromium) store for a space typed at the end of a line, so that it shows.
constexpr std::string_view kNoBreakSpace = "\u00a0";

// How many leading and trailing characters `a` and `b` share, in bytes of each; the two never overlap
// and leave at least one character of `a` between them.
struct SharedEnds {
    std::size_t prefix = 0;
    std::size_t suffix = 0;
};

SharedEnds sharedEnds(std::string_view a, std::string_view b) {
    const std::vector<std::string_view> left = text::characters(a);
    const std::vector<std::string_view> right = text::characters(b);
    std::size_t front = 0;
    SharedEnds shared;
    while (front + 1 < left.size() && front < right.size() && left[front] == right[front]) {
        shared.prefix += left[front].size();
        ++front;
    }
    std::size_t back = 0;
    while (front + back + 1 < left.size() && front + back < right.size() &&
           left[left.size() - 1 - back] == right[right.size() - 1 - back]) {
        shared.suffix += left[left.size() - 1 - back].size();
        ++back;
    }
    return shared;
}

}  // namespace

bool fieldShows(std::string_view field, std::string_view expected) {
    const std::string shown = text::canonicalForm(field);
    const std::string typed = text::canonicalForm(expected);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < shown.size() && j < typed.size()) {
        if (shown[i] == typed[j]) {
            ++i;
            ++j;
        } else if (typed[j] == ' ' && std::string_view(shown).substr(i).starts_with(kNoBreakSpace)) {
            i += kNoBreakSpace.size();
            ++j;
        } else {
            return false;
        }
    }
    return i == shown.size() && j == typed.size();
}

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
    if (expected.empty()) return ReplaceOutcome::textDiffers;
    std::string whole(expected);
    whole += after;
    // What comes before the change stays untouched. What the two share at the end is written again (so
    // that the caret lands after it as the application places it after an insertion), in the field's
    // own form: a web editor's no-break space stays one, and its undo step stays small.
    const SharedEnds shared = sharedEnds(expected, text);
    const std::string_view removed = expected.substr(shared.prefix);
    const std::string_view changed = text.substr(shared.prefix, text.size() - shared.prefix - shared.suffix);
    const std::string_view keptEnd = expected.substr(expected.size() - shared.suffix);
    return replaceBeforeCaret(text::utf16Length(removed), text::utf16Length(after),
                              Checked{whole, text::utf16Length(expected.substr(0, shared.prefix)), keptEnd}, changed);
}

AccessibilityService::ReplaceOutcome AccessibilityService::replaceBeforeCaret(std::size_t length,
                                                                              std::size_t afterLength,
                                                                              std::optional<Checked> checked,
                                                                              std::string_view text) {
    const std::shared_ptr<AccessibilityElement> element = focusedElement();
    if (element == nullptr || isSecureInputFocused()) return ReplaceOutcome::cannotEdit;

    const std::optional<TextRange> caret = selectedRange(*element);
    if (!caret) return ReplaceOutcome::cannotEdit;
    const std::size_t before = checked ? checked->beforeLength : 0;
    // A selection or too short a text: the user has done something since the word was checked.
    if (caret->length != 0 || caret->location < before + length + afterLength) {
        return checked ? ReplaceOutcome::textDiffers : ReplaceOutcome::cannotEdit;
    }
    const TextRange word{caret->location - afterLength - length, length};
    std::string written(text);
    if (checked) {
        const AccessibilityAnswer answer = element->copyParameterizedAttribute(
            kStringForRange, TextRange{word.location - before, before + length + afterLength});
        std::string keptEnd(checked->keptEnd);
        // An element that cannot show its text was judged by the caller; one that can must still hold it.
        if (answer.error == accessibility_error::kSuccess) {
            const std::string* shown = answer.value ? std::get_if<std::string>(&*answer.value) : nullptr;
            if (shown == nullptr || !fieldShows(*shown, checked->text)) return ReplaceOutcome::textDiffers;
            const std::u16string units = text::toUtf16(*shown);
            const std::size_t keptLength = text::utf16Length(checked->keptEnd);
            if (units.size() == before + length + afterLength && keptLength <= length) {
                std::string fieldForm =
                    text::fromUtf16(std::u16string_view(units).substr(before + length - keptLength, keptLength));
                if (fieldShows(fieldForm, checked->keptEnd)) keptEnd = std::move(fieldForm);
            }
        }
        written += keptEnd;
    }

    if (element->setAttribute(kSelectedTextRange, word) != accessibility_error::kSuccess) {
        return ReplaceOutcome::cannotEdit;
    }
    const int error = element->setAttribute(kSelectedText, written);
    if (error != accessibility_error::kSuccess) {
        // Whether or not the caret goes back, the answer is the refusal.
        element->setAttribute(kSelectedTextRange, *caret);
        return ReplaceOutcome::cannotEdit;
    }
    if (afterLength > 0) {
        // The caret goes back behind what the user typed after the word, where the next key belongs.
        element->setAttribute(kSelectedTextRange, TextRange{word.location + text::utf16Length(written) + afterLength, 0});
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
    return fieldShows(*before, expected) ? TextCheck::yes : TextCheck::no;
}

std::optional<std::string> AccessibilityService::textBeforeCaret(std::size_t utf16Length) {
    const std::shared_ptr<AccessibilityElement> element = focusedElement();
    if (element == nullptr || isSecureInputFocused()) return std::nullopt;
    const std::optional<TextRange> selection = selectedRange(*element);
    if (!selection || selection->location < utf16Length) return std::nullopt;
    AccessibilityAnswer answer =
        element->copyParameterizedAttribute(kStringForRange, TextRange{selection->location - utf16Length, utf16Length});
    if (answer.error != accessibility_error::kSuccess || !answer.value) return std::nullopt;
    if (std::string* before = std::get_if<std::string>(&*answer.value)) return std::move(*before);
    return std::nullopt;
}

}  // namespace tarvelo
