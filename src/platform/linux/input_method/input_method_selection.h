// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string_view>

#include "platform/accessibility_api.h"
#include "platform/linux/input_method/input_method_text_field.h"

namespace tarvelo::desktop {

// A selection the input method's client did not tell of (GTK 3 gives an input method the caret alone),
// as the accessibility bus shows it: read there, and replaced through the input method, whose commit
// takes the client's selection's place. What the field knew of the client's text no longer holds after
// that, so it is forgotten until the client tells it again. Everything else is the field's.
class InputMethodSelection final : public AccessibilityElement {
public:
    InputMethodSelection(std::shared_ptr<InputMethodTextField> field, std::shared_ptr<AccessibilityElement> shown)
        : field_(std::move(field)), shown_(std::move(shown)) {}

    AccessibilityAnswer copyAttribute(std::string_view name) override;
    int setAttribute(std::string_view name, const AccessibilityValue& value) override;
    AccessibilityAnswer copyParameterizedAttribute(std::string_view name, const AccessibilityValue& parameter) override {
        return field_->copyParameterizedAttribute(name, parameter);
    }

private:
    std::shared_ptr<InputMethodTextField> field_;
    std::shared_ptr<AccessibilityElement> shown_;
};

}  // namespace tarvelo::desktop
