// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/accessibility_api.h"
#include "text_field_program.h"

// A text field with focus, on the pretend desktop or in a real application, and the AccessibilityApi
// that reaches it: what the contract tests run the same suite against.
namespace tarvelo::desktop::testing {

enum class Backend { fake, gtk, qt };

const char* backendName(Backend backend);

class ContractField {
public:
    virtual ~ContractField() = default;
    ContractField(const ContractField&) = delete;
    ContractField& operator=(const ContractField&) = delete;

    // Opens a focused field of `kind`; nullptr with the reason in `failure` when that fails.
    static std::unique_ptr<ContractField> open(Backend backend, FieldKind kind, std::string& failure);

    virtual AccessibilityApi& api() = 0;
    // Puts text and selection in place, marked as "ab|cd" (caret) or "a|bc|d" (selection), the way
    // the application itself would; false when the field did not take it.
    virtual bool setMarkedText(std::string_view marked) = 0;
    // The field's own text and selection, marked the same way, as the application holds them.
    virtual std::string markedText() = 0;

protected:
    ContractField() = default;
};

}  // namespace tarvelo::desktop::testing
