// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/input_context.h"

namespace tarvelo {

// A selected input source that a test sets; none stands for "no input context".
class FakeInputContext final : public InputContext {
public:
    void select(std::optional<std::string> identifier) { identifier_ = std::move(identifier); }
    std::optional<std::string> selectedKeyboardInputSource() override { return identifier_; }

private:
    std::optional<std::string> identifier_;
};

}  // namespace tarvelo
