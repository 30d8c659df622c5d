// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "platform/app_shell.h"

namespace tarvelo::ui {

// The application's presence on an X11 desktop. Closing the last window never quits: Tarvelo lives in
// its status icon. Task bars there list windows, not applications, so the activation policy changes
// nothing on screen; it is kept so that the rest of the application can ask for it.
class QtAppShell : public AppShell {
public:
    QtAppShell();

    void setActivationPolicy(ActivationPolicy policy) override { policy_ = policy; }
    std::optional<ActivationPolicy> activationPolicy() const { return policy_; }

private:
    std::optional<ActivationPolicy> policy_;
};

}  // namespace tarvelo::ui
