// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/text_replacement_service.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "text/characters.h"
#include "text/utf8.h"

namespace tarvelo {

bool TextReplacementService::replacePreviousText(std::int64_t characterCount, std::string_view text) {
    if (characterCount < 1) return false;
    if (accessibility_.isSecureInputFocused()) return false;
    if (accessibility_.replaceTextBeforeCaret(characterCount, text)) return true;
    return typeOver(characterCount, text);
}

AccessibilityService::ReplaceOutcome TextReplacementService::editExpectedText(std::string_view expected,
                                                                              std::string_view after,
                                                                              std::string_view text) {
    if (accessibility_.isSecureInputFocused()) return AccessibilityService::ReplaceOutcome::cannotEdit;
    return accessibility_.replaceExpectedTextBeforeCaret(expected, after, text);
}

bool TextReplacementService::typeOverExpectedText(std::string_view expected, std::string_view text) {
    const auto characterCount = static_cast<std::int64_t>(text::characterCount(expected));
    if (characterCount < 1) return false;
    if (accessibility_.isSecureInputFocused()) return false;
    return typeOver(characterCount, text);
}

bool TextReplacementService::typeOver(std::int64_t characterCount, std::string_view text) {
    for (std::int64_t i = 0; i < characterCount; ++i) {
        if (!postKey(virtual_key::kDelete, true, {}) || !postKey(virtual_key::kDelete, false, {})) return false;
    }
    return postUnicode(text);
}

bool TextReplacementService::convertSelection(const LayoutConverter& converter) {
    if (accessibility_.isSecureInputFocused()) return false;
    const std::shared_ptr<AccessibilityElement> element = accessibility_.selectionElement();
    if (element == nullptr) return false;
    const std::optional<std::string> selected = accessibility_.stringAttribute("AXSelectedText", *element);
    if (!selected || selected->empty()) return false;

    const std::optional<ConvertedText> converted = converter.convertAutomatically(*selected);
    if (!converted || converted->text == *selected) return false;

    // The user may have moved on while the selection was read: write only into what has focus now, and
    // never into a password field.
    const std::shared_ptr<AccessibilityElement> target = accessibility_.selectionElement();
    if (target == nullptr || accessibility_.isSecureInputFocused()) return false;
    return target->setAttribute("AXSelectedText", converted->text) == accessibility_error::kSuccess;
}

bool TextReplacementService::postUnicode(std::string_view text) {
    const std::u16string units = text::toUtf16(text);
    if (units.empty()) return false;
    // Cut by count alone: the receiving application joins the code units of consecutive events.
    for (std::size_t offset = 0; offset < units.size(); offset += kChunkSize) {
        const std::u16string chunk = units.substr(offset, std::min(kChunkSize, units.size() - offset));
        if (!postKey(kTypingKey, true, chunk) || !postKey(kTypingKey, false, chunk)) return false;
    }
    return true;
}

bool TextReplacementService::postKey(std::uint16_t keyCode, bool keyDown, const std::u16string& text) {
    KeyboardEvent event;
    event.keyCode = keyCode;
    event.keyDown = keyDown;
    event.userData = kSyntheticEventMarker;
    event.unicodeString = text;
    return keyboard_.post(event);
}

}  // namespace tarvelo
