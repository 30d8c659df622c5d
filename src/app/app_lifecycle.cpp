// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_lifecycle.h"

#include "store/defaults_keys.h"

namespace tarvelo {

AppLifecycle::AppLifecycle(AppState& state, DefaultsStore& defaults, WindowPresenter& windows, Scheduler& scheduler)
    : state_(state), defaults_(defaults), windows_(windows), scheduler_(scheduler) {}

std::optional<AppWindow> AppLifecycle::launchWindow(bool onboardingFinished, bool showMenuBarIcon,
                                                    bool trayAvailable) {
    if (!onboardingFinished) return AppWindow::onboarding;
    // Without the status icon the settings window is the only way into the application.
    if (!showMenuBarIcon || !trayAvailable) return AppWindow::settings;
    return std::nullopt;
}

void AppLifecycle::launch(bool trayAvailable) {
    scheduler_.after(0.0, lifetime_.guard([this, trayAvailable] {
        state_.permissions.refresh();
        state_.keyboardMonitor.start();
        const auto window = launchWindow(defaults_.boolForKey(defaults_keys::onboarding),
                                         state_.settings.showMenuBarIcon.get(), trayAvailable);
        if (window) windows_.show(*window);
    }));
}

void AppLifecycle::reopen() {
    if (windows_.hasVisibleWindows()) return;
    scheduler_.after(0.0, lifetime_.guard([this] { windows_.show(AppWindow::settings); }));
}

void AppLifecycle::quit() { state_.keyboardMonitor.stop(); }

}  // namespace tarvelo
