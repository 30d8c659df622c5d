// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

namespace tarvelo {

// The settings window's eight sections, in sidebar order; a section is its own identity.
enum class SettingsSection { general, autoSwitch, hotkeys, languages, exceptions, applications, privacy, statistics };

inline constexpr std::array<SettingsSection, 8> kAllSettingsSections{
    SettingsSection::general,    SettingsSection::autoSwitch,   SettingsSection::hotkeys, SettingsSection::languages,
    SettingsSection::exceptions, SettingsSection::applications, SettingsSection::privacy, SettingsSection::statistics};

// The display title, which is also the section's raw value: "General", "Auto Switch", ...
std::string_view title(SettingsSection section);
// The symbol's name: "gearshape", "arrow.left.arrow.right", ...
std::string_view systemImage(SettingsSection section);

}  // namespace tarvelo
