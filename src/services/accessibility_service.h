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

// The one place that looks into another application's text. Every operation that reads or writes text
// first asks whether the focus is secure and gives up when it is; a focus that cannot be found counts
// as secure. Holds no state: each call finds the focused element afresh.
class AccessibilityService {
public:
    explicit AccessibilityService(AccessibilityApi& api) : api_(api) {}
    AccessibilityService(const AccessibilityService&) = delete;
    AccessibilityService& operator=(const AccessibilityService&) = delete;

    std::shared_ptr<AccessibilityElement> focusedElement();

    // The named attribute when the element answers it with a string.
    std::optional<std::string> stringAttribute(std::string_view name, AccessibilityElement& element);

    // True means: treat the focus as a password field and do not touch it.
    bool isSecureInputFocused();

    // Replaces the `utf16Length` code units just before the caret by `text` in one edit. False when
    // there is a selection, too little text before the caret, or the element refuses; the caret is then
    // put back where it was.
    bool replaceTextBeforeCaret(std::int64_t utf16Length, std::string_view text);

    // Whether the text just before the selection (or caret) is `expected`, compared as canonically
    // equivalent text; unknown when the element gives no answer.
    TextCheck textBeforeCaretEnds(std::string_view expected);

private:
    AccessibilityApi& api_;
};

}  // namespace tarvelo
