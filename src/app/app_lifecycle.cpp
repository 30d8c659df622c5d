// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_lifecycle.h"

#include "store/defaults_keys.h"
#include "support/translation.h"

namespace tarvelo {

AppLifecycle::AppLifecycle(AppState& state, DefaultsStore& defaults, WindowPresenter& windows, Scheduler& scheduler,
                           NotificationCenter& notifications)
    : state_(state), defaults_(defaults), windows_(windows), scheduler_(scheduler), notifications_(notifications) {}

std::optional<AppWindow> AppLifecycle::launchWindow(bool onboardingFinished, bool showMenuBarIcon) {
    if (!onboardingFinished) return AppWindow::onboarding;
    // The user hid the icon: the settings window is the way into the application.
    if (!showMenuBarIcon) return AppWindow::settings;
    return std::nullopt;
}

void AppLifecycle::launch(bool trayAvailable) {
    scheduler_.after(0.0, lifetime_.guard([this, trayAvailable] {
        state_.permissions.refresh();
        state_.keyboardMonitor.start();
        const bool onboardingFinished = defaults_.boolForKey(defaults_keys::onboarding);
        const auto window = launchWindow(onboardingFinished, state_.settings.showMenuBarIcon.get());
        if (window) windows_.show(*window);
        if (!window && !trayAvailable && !defaults_.boolForKey(defaults_keys::noTrayNotice)) {
            notifications_.post({"tarvelo-no-tray", i18n::tr("Tarvelo is running"),
                                 i18n::tr("This desktop shows no tray icons. Start Tarvelo again to open its settings.")});
            defaults_.setObject(defaults_keys::noTrayNotice, DefaultsValue{true});
        }
    }));
}

void AppLifecycle::reopen() {
    if (windows_.hasVisibleWindows()) return;
    scheduler_.after(0.0, lifetime_.guard([this] { windows_.show(AppWindow::settings); }));
}

void AppLifecycle::quit() { state_.keyboardMonitor.stop(); }

}  // namespace tarvelo
