// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    // On a desktop whose window manager opens the window menu with Alt+Space and holds it, the launch
    // also moves "Convert Selected Text" to kWindowMenuAlternative and says so by notification, once:
    // the chord is then stored. A chord the user chose, or any stored value, is left alone.
    void launch(bool trayAvailable);

    // The session's desktop: $XDG_CURRENT_DESKTOP (names separated by colons), and the chords another
    // program holds, named as a person presses them. Unknown until set.
    struct Desktop {
        std::string currentDesktop;
        std::function<std::vector<std::string>()> unavailableChords = [] { return std::vector<std::string>(); };
    };
    void setDesktop(Desktop desktop) { desktop_ = std::move(desktop); }
    // GNOME, KDE, Xfce, Cinnamon and MATE open the window menu with Alt+Space.
    static bool opensWindowMenuWithAltSpace(std::string_view currentDesktop);
    // Ctrl+Shift+Space: none of those desktops uses it.
    static constexpr KeyChord kWindowMenuAlternative{virtual_key::kSpace,
                                                     modifier_flag::kCommand | modifier_flag::kShift};

    // The user started the application again while it runs: when none of its windows is visible, the
    // settings window is shown on a later turn.
    void reopen();

    // Removes the keyboard tap before the process ends. Everything else was stored as it changed.
    void quit();

private:
    void moveOffTheWindowMenuChord();

    AppState& state_;
    DefaultsStore& defaults_;
    WindowPresenter& windows_;
    Scheduler& scheduler_;
    NotificationCenter& notifications_;
    Desktop desktop_;
    Lifetime lifetime_;
};

}  // namespace tarvelo
