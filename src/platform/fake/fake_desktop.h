// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/accessibility_api.h"
#include "platform/fake/fake_text_element.h"
#include "platform/workspace.h"

namespace tarvelo {

// The applications on a pretend desktop and where keyboard focus is: in one application (with or
// without an identifier), on one of its text elements or on none, or nowhere at all.
class FakeDesktop final : public AccessibilityApi, public Workspace {
public:
    FakeDesktop() = default;

    // Puts the application in front with `element` focused (nullptr: nothing focused in it).
    void focus(std::optional<std::string> application, std::shared_ptr<FakeTextElement> element);
    // No application in front and no focused element.
    void focusNothing();
    // The accessibility API stops answering (focusedElement gives nullptr), focus unchanged.
    void setAccessibilityAnswers(bool answers) { accessibilityAnswers_ = answers; }

    const std::shared_ptr<FakeTextElement>& focusedTextElement() const { return element_; }
    bool hasFrontmostApplication() const { return hasApplication_; }

    // Addresses that open; any other address fails, as does text that is not an address (no scheme).
    void allowOpening(std::string address) { openable_.insert(std::move(address)); }
    // Every address asked for, in order, whether it opened or not.
    const std::vector<std::string>& openRequests() const { return openRequests_; }

    std::shared_ptr<AccessibilityElement> focusedElement() override;
    std::optional<std::string> frontmostApplicationIdentifier() override;
    bool open(std::string_view address) override;

private:
    bool hasApplication_ = false;
    std::optional<std::string> application_;
    std::shared_ptr<FakeTextElement> element_;
    bool accessibilityAnswers_ = true;
    std::set<std::string> openable_;
    std::vector<std::string> openRequests_;
};

}  // namespace tarvelo
