// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "app/app_state.h"
#include "app/window_presenter.h"
#include "platform/defaults_store.h"
#include "platform/notification_center.h"
#include "support/lifetime.h"
#include "support/scheduler.h"

namespace tarvelo {

// The application's launch, reopen and quit steps, whatever toolkit draws its windows.
class AppLifecycle {
public:
    // `notifications` carries the one notice of a desktop without a tray.
    AppLifecycle(AppState& state, DefaultsStore& defaults, WindowPresenter& windows, Scheduler& scheduler,
                 NotificationCenter& notifications);
    AppLifecycle(const AppLifecycle&) = delete;
    AppLifecycle& operator=(const AppLifecycle&) = delete;

    // The window a launch opens: onboarding until it has been finished once; afterwards the settings
    // window when the user hid the status icon, else none. A desktop without a tray gets no window
    // either: Tarvelo starts with the session, and a window at every login would be in the way.
    static std::optional<AppWindow> launchWindow(bool onboardingFinished, bool showMenuBarIcon);

    // On a later turn of the main loop: refreshes the permissions, starts the keyboard monitor and opens
    // the window `launchWindow` chooses. The activation policy is the application state's: it follows
    // the icon setting from the start.
    // `trayAvailable` tells whether the desktop shows status icons. Without them, a later launch says
    // once, by notification, that Tarvelo runs and how to open its settings.
    void launch(bool trayAvailable);

    // The user started the application again while it runs: when none of its windows is visible, the
    // settings window is shown on a later turn.
    void reopen();

    // Removes the keyboard tap before the process ends. Everything else was stored as it changed.
    void quit();

private:
    AppState& state_;
    DefaultsStore& defaults_;
    WindowPresenter& windows_;
    Scheduler& scheduler_;
    NotificationCenter& notifications_;
    Lifetime lifetime_;
};

}  // namespace tarvelo
