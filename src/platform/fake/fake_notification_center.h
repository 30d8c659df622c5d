// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "platform/notification_center.h"

namespace tarvelo {

// A notification centre that records what is posted and holds authorization requests until a test
// answers them, as the user would later.
class FakeNotificationCenter final : public NotificationCenter {
public:
    FakeNotificationCenter() = default;

    void requestAuthorization(AuthorizationCompletion completion) override {
        pending_.push_back(std::move(completion));
        ++authorizationRequests_;
    }
    void post(const UserNotification& notification) override { posted_.push_back(notification); }

    // Answers every request still waiting, in the order they were made.
    void answerAuthorization(bool granted) {
        auto pending = std::move(pending_);
        pending_.clear();
        for (auto& completion : pending) completion(granted);
    }

    std::size_t pendingAuthorizationCount() const { return pending_.size(); }
    int authorizationRequests() const { return authorizationRequests_; }
    const std::vector<UserNotification>& posted() const { return posted_; }

private:
    std::vector<AuthorizationCompletion> pending_;
    std::vector<UserNotification> posted_;
    int authorizationRequests_ = 0;
};

}  // namespace tarvelo
