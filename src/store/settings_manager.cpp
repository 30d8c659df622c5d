// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_manager.h"

#include <variant>

#include "store/defaults_keys.h"

namespace tarvelo {

SettingsManager::SettingsManager(DefaultsStore& defaults, const Clock& clock, LoginItems& loginItems,
                                 NotificationCenter& notificationCenter)
    : launchAtLogin(loginItems.isEnabled()),
      defaults_(defaults),
      clock_(clock),
      loginItems_(loginItems),
      notificationCenter_(notificationCenter) {
    // Registered, never written: a preference the user has not changed follows the built-in default.
    defaults_.registerDefaults({
        {std::string(defaults_keys::autoSwitch), true},
        {std::string(defaults_keys::switchLayout), false},
        {std::string(defaults_keys::sound), false},
        {std::string(defaults_keys::notification), false},
        {std::string(defaults_keys::menuIcon), true},
        {std::string(defaults_keys::sensitivity), kDefaultSensitivity},
    });
    isAutoSwitchEnabled.set(defaults_.boolForKey(defaults_keys::autoSwitch));
    switchLayoutAfterCorrection.set(defaults_.boolForKey(defaults_keys::switchLayout));
    playSound.set(defaults_.boolForKey(defaults_keys::sound));
    showNotification.set(defaults_.boolForKey(defaults_keys::notification));
    showMenuBarIcon.set(defaults_.boolForKey(defaults_keys::menuIcon));
    sensitivity.set(defaults_.doubleForKey(defaults_keys::sensitivity));

    // Anything but a date is no pause, and is removed from the store now.
    std::optional<double> storedPause;
    if (const auto value = defaults_.object(defaults_keys::pauseUntil)) {
        if (const auto* date = std::get_if<DefaultsDate>(&*value)) storedPause = date->secondsSince1970;
    }
    pauseUntil.set(storedPause);
    storePauseUntil(storedPause);

    const auto storeBool = [this](Observable<bool>& field, std::string_view key) {
        storing_.push_back(field.subscribe([this, key](bool value) { defaults_.setBool(key, value); }));
    };
    storeBool(isAutoSwitchEnabled, defaults_keys::autoSwitch);
    storeBool(switchLayoutAfterCorrection, defaults_keys::switchLayout);
    storeBool(playSound, defaults_keys::sound);
    storeBool(showNotification, defaults_keys::notification);
    storeBool(showMenuBarIcon, defaults_keys::menuIcon);
    storing_.push_back(sensitivity.subscribe(
        [this](double value) { defaults_.setDouble(defaults_keys::sensitivity, value); }));
    storing_.push_back(pauseUntil.subscribe([this](const std::optional<double>& value) { storePauseUntil(value); }));
    followChord(convertSelectionChord, defaults_keys::convertSelectionChord, kDefaultConvertSelectionChord);
    followChord(convertLastWordChord, defaults_keys::convertLastWordChord, kDefaultConvertLastWordChord);
}

void SettingsManager::followChord(Observable<KeyChord>& field, std::string_view key, KeyChord fallback) {
    std::optional<KeyChord> stored;
    if (const auto names = defaults_.stringArrayForKey(key)) stored = key_chord::fromParts(*names);
    field.set(stored.value_or(fallback));
    storing_.push_back(field.subscribe([this, key, fallback](const KeyChord& chord) {
        if (chord == fallback) {
            defaults_.remove(key);
        } else {
            defaults_.setObject(key, DefaultsValue(key_chord::parts(chord)));
        }
    }));
}

bool SettingsManager::isPaused() const {
    const auto& until = pauseUntil.get();
    return until && *until > clock_.now();
}

void SettingsManager::pause() { pauseUntil.set(clock_.now() + kPauseDuration); }

void SettingsManager::resume() { pauseUntil.set(std::nullopt); }

void SettingsManager::setLaunchAtLogin(bool enabled) {
    const auto error = enabled ? loginItems_.registerItem() : loginItems_.unregisterItem();
    if (!error) {
        launchAtLogin.set(enabled);
        launchAtLoginError.set(std::nullopt);
        return;
    }
    // The real state, which a failed change may or may not have altered.
    launchAtLogin.set(loginItems_.isEnabled());
    launchAtLoginError.set(error);
}

void SettingsManager::setNotificationsEnabled(bool enabled) {
    showNotification.set(enabled);
    if (!enabled) return;
    notificationCenter_.requestAuthorization([this, alive = lifetime_.token()](bool granted) {
        if (!granted && !alive.expired()) showNotification.set(false);
    });
}

void SettingsManager::storePauseUntil(const std::optional<double>& value) {
    if (value) {
        defaults_.setObject(defaults_keys::pauseUntil, DefaultsValue(DefaultsDate{*value}));
    } else {
        defaults_.remove(defaults_keys::pauseUntil);
    }
}

}  // namespace tarvelo
