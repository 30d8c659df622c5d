// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace tarvelo {

// A notification delivered at once, without sound or badge.
struct UserNotification {
    std::string identifier;
    std::string title;
    std::string body;
};

// The desktop's notifications. Called on the main thread; never throws.
class NotificationCenter {
public:
    using AuthorizationCompletion = std::function<void(bool granted)>;

    virtual ~NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // Asks for permission to show alerts with sound. `completion` runs once, later, on the main thread,
    // with the answer; it may outlive the caller, which must hold itself weakly in it.
    virtual void requestAuthorization(AuthorizationCompletion completion) = 0;

    // Shows `notification`; a centre without permission drops it. The outcome is not reported.
    virtual void post(const UserNotification& notification) = 0;

protected:
    NotificationCenter() = default;
};

}  // namespace tarvelo
