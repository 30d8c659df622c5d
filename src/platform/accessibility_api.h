// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/text_range.h"

namespace tarvelo {

// A value of some type the core does not read (an element, a number, a list, ...).
struct AccessibilityOtherValue {
    friend bool operator==(const AccessibilityOtherValue&, const AccessibilityOtherValue&) = default;
};

// An attribute's value: a string, a Boolean, a range of UTF-16 code units, or something else.
using AccessibilityValue = std::variant<std::string, bool, TextRange, AccessibilityOtherValue>;

// Error codes as the accessibility API reports them; only success is told apart by the core.
namespace accessibility_error {
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = -25200;
inline constexpr int kIllegalArgument = -25201;
inline constexpr int kAttributeUnsupported = -25205;
inline constexpr int kParameterizedAttributeUnsupported = -25213;
inline constexpr int kNoValue = -25212;
inline constexpr int kCannotComplete = -25204;
}  // namespace accessibility_error

// What a copy of an attribute gave: an error code (0 is success) and a value that may be absent even
// on success.
struct AccessibilityAnswer {
    int error = accessibility_error::kSuccess;
    std::optional<AccessibilityValue> value;
};

// A user interface element of some application, held only for one operation; the reference is released
// when the last holder lets it go. Every call is a synchronous request to the element's application,
// made on the main thread. Attribute names are the accessibility API's ("AXRole", "AXSelectedText", ...).
class AccessibilityElement {
public:
    virtual ~AccessibilityElement() = default;
    AccessibilityElement(const AccessibilityElement&) = delete;
    AccessibilityElement& operator=(const AccessibilityElement&) = delete;

    virtual AccessibilityAnswer copyAttribute(std::string_view name) = 0;

    // Answers the error code; 0 means the element took the value.
    virtual int setAttribute(std::string_view name, const AccessibilityValue& value) = 0;

    // A parameterised attribute such as "AXStringForRange" with a range parameter.
    virtual AccessibilityAnswer copyParameterizedAttribute(std::string_view name,
                                                           const AccessibilityValue& parameter) = 0;

protected:
    AccessibilityElement() = default;
};

// The desktop's accessibility tree, as far as the core needs it.
class AccessibilityApi {
public:
    virtual ~AccessibilityApi() = default;
    AccessibilityApi(const AccessibilityApi&) = delete;
    AccessibilityApi& operator=(const AccessibilityApi&) = delete;

    // The element with keyboard focus in the application that has it, or nullptr when there is none or
    // the desktop does not answer.
    virtual std::shared_ptr<AccessibilityElement> focusedElement() = 0;

    // The element whose selection a command converts: the focused one, unless the desktop knows the
    // selection better elsewhere. Asked only where no application waits for an answer from Tarvelo.
    virtual std::shared_ptr<AccessibilityElement> selectionElement() { return focusedElement(); }

protected:
    AccessibilityApi() = default;
};

}  // namespace tarvelo
