// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace tarvelo {

// Whether the application starts when the user logs in. Called on the main thread; never throws.
class LoginItems {
public:
    virtual ~LoginItems() = default;
    LoginItems(const LoginItems&) = delete;
    LoginItems& operator=(const LoginItems&) = delete;

    // Whether the application is currently set to start at login.
    virtual bool isEnabled() = 0;

    // Sets the application to start at login; none on success, else the system's message in words a
    // person can read.
    virtual std::optional<std::string> registerItem() = 0;

    // Stops the application from starting at login; none on success, else the system's message.
    virtual std::optional<std::string> unregisterItem() = 0;

protected:
    LoginItems() = default;
};

}  // namespace tarvelo
