// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_method/input_method_selection.h"

#include <string>
#include <variant>

namespace tarvelo::desktop {

AccessibilityAnswer InputMethodSelection::copyAttribute(std::string_view name) {
    if (name == "AXSelectedText" && !field_->isSecure()) return shown_->copyAttribute(name);
    return field_->copyAttribute(name);
}

int InputMethodSelection::setAttribute(std::string_view name, const AccessibilityValue& value) {
    if (name != "AXSelectedText" || field_->isSecure()) return accessibility_error::kCannotComplete;
    const std::string* text = std::get_if<std::string>(&value);
    if (text == nullptr) return accessibility_error::kIllegalArgument;
    field_->insert(*text);
    field_->forget();
    return accessibility_error::kSuccess;
}

}  // namespace tarvelo::desktop
