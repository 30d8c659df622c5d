// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_desktop.h"

#include <algorithm>
#include <utility>

namespace tarvelo {
namespace {

// An address starts with a scheme: a letter, then letters, digits, "+", "-" or ".", then ":".
bool hasScheme(std::string_view address) {
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isLetter(address.front())) return false;
    return std::all_of(address.begin(), address.begin() + static_cast<std::ptrdiff_t>(colon), [&](char c) {
        return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    });
}

}  // namespace

void FakeDesktop::focus(std::optional<std::string> application, std::shared_ptr<FakeTextElement> element) {
    hasApplication_ = true;
    application_ = std::move(application);
    element_ = std::move(element);
}

void FakeDesktop::focusNothing() {
    hasApplication_ = false;
    application_.reset();
    element_.reset();
}

std::shared_ptr<AccessibilityElement> FakeDesktop::focusedElement() {
    if (!accessibilityAnswers_) return nullptr;
    return element_;
}

std::optional<std::string> FakeDesktop::frontmostApplicationIdentifier() {
    if (!hasApplication_) return std::nullopt;
    return application_;
}

bool FakeDesktop::open(std::string_view address) {
    openRequests_.emplace_back(address);
    return hasScheme(address) && openable_.count(std::string(address)) != 0;
}

}  // namespace tarvelo
