// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/login_items.h"

namespace tarvelo {

// A login-item service that can be told to refuse changes with a message.
class FakeLoginItems final : public LoginItems {
public:
    explicit FakeLoginItems(bool enabled = false) : enabled_(enabled) {}

    bool isEnabled() override { return enabled_; }
    std::optional<std::string> registerItem() override { return change(true); }
    std::optional<std::string> unregisterItem() override { return change(false); }

    // Every later change fails with `message` (none: changes succeed again).
    void setFailure(std::optional<std::string> message) { failure_ = std::move(message); }

private:
    std::optional<std::string> change(bool enabled) {
        if (failure_) return failure_;
        enabled_ = enabled;
        return std::nullopt;
    }

    bool enabled_;
    std::optional<std::string> failure_;
};

}  // namespace tarvelo
