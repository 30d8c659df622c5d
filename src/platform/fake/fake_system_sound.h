// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_sound.h"

namespace tarvelo {

// Sounds that "play" by being recorded; only the names it was given exist.
class FakeSystemSound final : public SystemSound {
public:
    explicit FakeSystemSound(std::set<std::string, std::less<>> available = {"Tink"})
        : available_(std::move(available)) {}

    bool play(std::string_view name) override {
        if (available_.find(name) == available_.end()) return false;
        played_.emplace_back(name);
        return true;
    }

    const std::vector<std::string>& played() const { return played_; }

private:
    std::set<std::string, std::less<>> available_;
    std::vector<std::string> played_;
};

}  // namespace tarvelo
