// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarvelo {

// Whether the application shows itself like an ordinary one (a Dock or task-bar entry and an application
// menu) or only through its status icon.
enum class ActivationPolicy { regular, accessory };

// The application's presence on the desktop. Called on the main thread.
class AppShell {
public:
    virtual ~AppShell() = default;
    AppShell(const AppShell&) = delete;
    AppShell& operator=(const AppShell&) = delete;

    virtual void setActivationPolicy(ActivationPolicy policy) = 0;

protected:
    AppShell() = default;
};

}  // namespace tarvelo
