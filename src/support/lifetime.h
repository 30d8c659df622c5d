// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace tarvelo {

// The lifetime token of an owner of delayed work. A task wrapped by `guard` holds the owner weakly:
// once the owner (and with it this token) is destroyed, the task does nothing.
class Lifetime {
public:
    Lifetime() : token_(std::make_shared<char>(0)) {}
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;

    std::weak_ptr<void> token() const { return token_; }

    template <typename Task>
    std::function<void()> guard(Task task) const {
        return [weak = token(), task = std::move(task)]() mutable {
            if (!weak.expired()) task();
        };
    }

private:
    std::shared_ptr<char> token_;
};

}  // namespace tarvelo
