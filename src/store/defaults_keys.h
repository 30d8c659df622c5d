// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// Every key the program keeps in the user defaults store.
namespace tarvelo::defaults_keys {

inline constexpr std::string_view autoSwitch = "settings.autoSwitch";
inline constexpr std::string_view sound = "settings.sound";
// After an automatic correction, select the layout the corrected word is written in.
inline constexpr std::string_view switchLayout = "settings.switchLayoutAfterCorrection";
inline constexpr std::string_view notification = "settings.notification";
inline constexpr std::string_view menuIcon = "settings.menuIcon";
inline constexpr std::string_view sensitivity = "settings.sensitivity";
inline constexpr std::string_view pauseUntil = "settings.pauseUntil";
// The chords of the two global shortcuts, as their parts ({"Ctrl", "Alt", "Space"}). Absent while the
// user keeps the default.
inline constexpr std::string_view convertSelectionChord = "hotkeys.convertSelection";
inline constexpr std::string_view convertLastWordChord = "hotkeys.convertLastWord";
// Written true when the user finishes onboarding; read at launch. Not registered, so absent is false.
inline constexpr std::string_view onboarding = "settings.onboarding";
// Written true once the user has been told, on a desktop without a tray, how to reach the settings.
inline constexpr std::string_view noTrayNotice = "settings.noTrayNotice";
inline constexpr std::string_view exceptions = "learning.exceptions";
inline constexpr std::string_view disabledBundleIdentifiers = "applications.disabledBundleIdentifiers";
inline constexpr std::string_view applicationsDefaultsVersion = "applications.defaultsVersion";
inline constexpr std::string_view dailyStatistics = "statistics.daily.v1";

}  // namespace tarvelo::defaults_keys
