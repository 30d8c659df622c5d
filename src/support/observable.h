// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "support/subscription.h"

namespace tarvelo {

// A published value. Every `set` notifies the subscribers, even when the value is unchanged, so a
// view that observes it is rebuilt on every assignment. Subscribers may subscribe, unsubscribe or
// set the value again from inside a callback; a subscription that outlives the observable is inert.
template <typename T>
class Observable {
public:
    using Callback = std::function<void(const T&)>;

    Observable() : Observable(T{}) {}
    explicit Observable(T initial) : value_(std::move(initial)), subscribers_(std::make_shared<Subscribers>()) {}
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    const T& get() const { return value_; }

    void set(T value) {
        value_ = std::move(value);
        // A copy, so that callbacks may change the subscriber list while it is walked.
        std::vector<std::pair<std::uint64_t, std::shared_ptr<Callback>>> snapshot(subscribers_->callbacks.begin(),
                                                                                  subscribers_->callbacks.end());
        for (const auto& [id, callback] : snapshot) {
            if (subscribers_->callbacks.count(id) != 0) (*callback)(value_);
        }
    }

    // Const, so that an owner can publish a read-only view of a field it alone may set.
    [[nodiscard]] Subscription subscribe(Callback callback) const {
        const std::uint64_t id = subscribers_->nextId++;
        subscribers_->callbacks.emplace(id, std::make_shared<Callback>(std::move(callback)));
        return Subscription([weak = std::weak_ptr<Subscribers>(subscribers_), id] {
            if (auto subscribers = weak.lock()) subscribers->callbacks.erase(id);
        });
    }

    std::size_t subscriberCount() const { return subscribers_->callbacks.size(); }

private:
    struct Subscribers {
        std::uint64_t nextId = 0;
        std::map<std::uint64_t, std::shared_ptr<Callback>> callbacks;
    };

    T value_;
    std::shared_ptr<Subscribers> subscribers_;
};

}  // namespace tarvelo
