// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/input_context.h"

namespace tarvelo {

// A selected input source that a test sets; none stands for "no input context". Offers the "us" and
// "ru" sources: a selection is recorded and becomes the selected source.
class FakeInputContext final : public InputContext {
public:
    void select(std::optional<std::string> identifier) { identifier_ = std::move(identifier); }
    std::optional<std::string> selectedKeyboardInputSource() override { return identifier_; }

    bool selectKeyboardLayout(KeyboardLayout layout) override {
        selections_.push_back(layout);
        identifier_ = layout == KeyboardLayout::russian ? "ru" : "us";
        return true;
    }

    // Every layout selected so far, oldest first.
    const std::vector<KeyboardLayout>& selections() const { return selections_; }

private:
    std::optional<std::string> identifier_;
    std::vector<KeyboardLayout> selections_;
};

}  // namespace tarvelo
