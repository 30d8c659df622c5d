// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/notification_center.h"

namespace tarvelo::desktop {

// Notifications through the desktop's notification server (org.freedesktop.Notifications on the
// session bus). There is no permission to ask for on Linux: a request is granted when a server answers.
// Replies arrive on GLib's default main context.
class DBusNotificationCenter final : public NotificationCenter {
public:
    DBusNotificationCenter();
    ~DBusNotificationCenter() override;

    void requestAuthorization(AuthorizationCompletion completion) override;
    void post(const UserNotification& notification) override;

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

}  // namespace tarvelo::desktop
