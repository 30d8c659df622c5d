// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings_navigation.h"
#include "app/settings_pages.h"
#include "platform/defaults_store.h"
#include "platform/key_labels.h"

namespace tarvelo::ui {

// GNOME's input sources, where Tarvelo's engines can take the places of the English (US) and Russian
// keyboards; each change answers false when GNOME's settings refuse it.
struct InputSourceOffer {
    std::function<bool()> usesTarvelo;
    std::function<bool()> useTarvelo;
    std::function<bool()> restoreKeyboards;
};

// What the windows are given: the application state, and what they say about this desktop.
struct DesktopContext {
    AppState& state;
    SettingsNavigation& navigation;
    // The user defaults, where onboarding is marked as finished and whose `problem()` the General page
    // shows.
    DefaultsStore& defaults;
    KeyLabels keyLabels;
    bool waylandSession = false;
    // The shortcuts another program holds, named as a person presses them.
    std::function<std::vector<std::string>()> unavailableChords = [] { return std::vector<std::string>(); };
    // Ends Tarvelo, from the settings window too: without a tray it is the only way to quit.
    std::function<void()> quit = [] {};
    // Called before the first of the windows is made, and again once the last of them was released:
    // what the windows brought into memory can be given back between the two.
    std::function<void()> windowsOpening = [] {};
    std::function<void()> windowsReleased = [] {};
    // Keys come from an input method (IBus, where Tarvelo is the input method, or fcitx5, where its
    // module calls Tarvelo) rather than from the X server.
    bool inputMethod = false;
    settings_pages::KeyboardSource keyboardSource = settings_pages::KeyboardSource::x11;
    // Whether that input method runs; the Privacy page says so when it does not.
    std::function<bool()> inputMethodRunning = [] { return true; };
    // A KDE Plasma session whose keys do not come from fcitx5: the Privacy page says how to turn it on.
    bool plasmaWithoutFcitx5 = false;
    // Whether the application that has the keyboard can be known: without it no exclusion applies.
    std::function<bool()> knowsFocusedApplication = [] { return true; };
    // Set where Tarvelo is the input method of a GNOME session: the onboarding and the Privacy page
    // offer to set its input sources up.
    std::optional<InputSourceOffer> gnomeInputSources = std::nullopt;
};

}  // namespace tarvelo::ui
