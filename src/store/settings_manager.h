// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/defaults_store.h"
#include "platform/login_items.h"
#include "platform/notification_center.h"
#include "support/clock.h"
#include "support/key_chord.h"
#include "support/lifetime.h"
#include "support/observable.h"
#include "support/subscription.h"

namespace tarvelo {

// The user's preferences. Each is published; setting a stored one writes it to the defaults at once,
// so nothing needs saving at quit. Launch at login is not stored: it mirrors the login-item service.
class SettingsManager {
public:
    static constexpr double kDefaultSensitivity = 0.72;
    // How long "Pause for 5 Minutes" pauses automatic correction.
    static constexpr double kPauseDuration = 300.0;
    // Alt+Space and Ctrl+Alt+Space on a PC keyboard.
    static constexpr KeyChord kDefaultConvertSelectionChord{virtual_key::kSpace, modifier_flag::kOption};
    static constexpr KeyChord kDefaultConvertLastWordChord{virtual_key::kSpace,
                                                           modifier_flag::kOption | modifier_flag::kCommand};

    SettingsManager(DefaultsStore& defaults, const Clock& clock, LoginItems& loginItems,
                    NotificationCenter& notificationCenter);
    SettingsManager(const SettingsManager&) = delete;
    SettingsManager& operator=(const SettingsManager&) = delete;

    Observable<bool> isAutoSwitchEnabled;
    // After a confirmed automatic correction, select the layout of the corrected word so that the rest
    // of the sentence comes out right. Off unless the user turns it on; a stored value that is not a
    // boolean or a number reads as off.
    Observable<bool> switchLayoutAfterCorrection;
    Observable<bool> playSound;
    Observable<bool> showNotification;
    Observable<bool> showMenuBarIcon;
    // A fraction from 0 to 1 as the slider edits it; neither clamped nor rounded.
    Observable<double> sensitivity;
    // Wall-clock seconds; the stored key is removed while this is none.
    Observable<std::optional<double>> pauseUntil;
    // Written by setLaunchAtLogin only; a view that sets them directly changes nothing in the system.
    Observable<bool> launchAtLogin;
    Observable<std::optional<std::string>> launchAtLoginError;
    // The global shortcuts' chords. A stored chord that cannot be read, or that is no usable shortcut,
    // reads as the default and stays stored as it is until the user sets another; setting the default
    // removes the stored chord.
    Observable<KeyChord> convertSelectionChord{kDefaultConvertSelectionChord};
    Observable<KeyChord> convertLastWordChord{kDefaultConvertLastWordChord};

    // True exactly while `pauseUntil` is later than now; an expired date stays stored.
    bool isPaused() const;
    // Pauses automatic correction for five minutes from now, replacing any running pause.
    void pause();
    void resume();

    void setLaunchAtLogin(bool enabled);
    // Sets `showNotification` and, when it is turned on, asks for permission; a refusal turns it off.
    void setNotificationsEnabled(bool enabled);

private:
    void storePauseUntil(const std::optional<double>& value);
    void followChord(Observable<KeyChord>& field, std::string_view key, KeyChord fallback);

    DefaultsStore& defaults_;
    const Clock& clock_;
    LoginItems& loginItems_;
    NotificationCenter& notificationCenter_;
    std::vector<Subscription> storing_;
    Lifetime lifetime_;
};

}  // namespace tarvelo
