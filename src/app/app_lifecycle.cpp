// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_lifecycle.h"

#include <algorithm>
#include <cctype>

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
        moveOffTheWindowMenuChord();
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

bool AppLifecycle::opensWindowMenuWithAltSpace(std::string_view currentDesktop) {
    static constexpr std::string_view kDesktops[] = {"GNOME", "KDE", "XFCE", "X-Cinnamon", "Cinnamon", "MATE"};
    std::size_t start = 0;
    while (start <= currentDesktop.size()) {
        const std::size_t colon = std::min(currentDesktop.find(':', start), currentDesktop.size());
        const std::string_view name = currentDesktop.substr(start, colon - start);
        for (const std::string_view known : kDesktops) {
            const bool same = name.size() == known.size() &&
                              std::equal(name.begin(), name.end(), known.begin(), [](char a, char b) {
                                  return std::toupper(static_cast<unsigned char>(a)) ==
                                         std::toupper(static_cast<unsigned char>(b));
                              });
            if (same) return true;
        }
        start = colon + 1;
    }
    return false;
}

void AppLifecycle::moveOffTheWindowMenuChord() {
    if (!opensWindowMenuWithAltSpace(desktop_.currentDesktop)) return;
    // Whatever is stored, even a value that cannot be read, is the user's.
    if (defaults_.object(defaults_keys::convertSelectionChord)) return;
    HotKeyManager& hotkeys = state_.hotkeys;
    const KeyChord standard = HotKeyManager::defaultChord(Shortcut::convertSelection);
    const auto held = [this](const KeyChord& chord) {
        const std::vector<std::string> unavailable = desktop_.unavailableChords();
        return std::find(unavailable.begin(), unavailable.end(), key_chord::format(chord)) != unavailable.end();
    };
    if (hotkeys.chord(Shortcut::convertSelection).get() != standard || !held(standard)) return;
    if (hotkeys.setChord(Shortcut::convertSelection, kWindowMenuAlternative)) return;
    if (held(kWindowMenuAlternative)) {
        hotkeys.resetChord(Shortcut::convertSelection);
        return;
    }
    notifications_.post({"tarvelo-shortcut-moved", i18n::tr("Convert Selected Text: Ctrl+Shift+Space"),
                         i18n::tr("This desktop opens the window menu with Alt+Space, so Tarvelo converts "
                                  "selected text with Ctrl+Shift+Space. You can change it on the Hotkeys page "
                                  "in Settings.")});
}

void AppLifecycle::reopen() {
    if (windows_.hasVisibleWindows()) return;
    scheduler_.after(0.0, lifetime_.guard([this] { windows_.show(AppWindow::settings); }));
}

void AppLifecycle::quit() { state_.keyboardMonitor.stop(); }

}  // namespace tarvelo
