// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_section.h"

namespace tarvelo {

std::string_view title(SettingsSection section) {
    switch (section) {
        case SettingsSection::general: return "General";
        case SettingsSection::autoSwitch: return "Auto Switch";
        case SettingsSection::hotkeys: return "Hotkeys";
        case SettingsSection::languages: return "Languages";
        case SettingsSection::exceptions: return "Exceptions";
        case SettingsSection::applications: return "Applications";
        case SettingsSection::privacy: return "Privacy";
        case SettingsSection::statistics: return "Statistics";
    }
    return {};
}

std::string_view systemImage(SettingsSection section) {
    switch (section) {
        case SettingsSection::general: return "gearshape";
        case SettingsSection::autoSwitch: return "arrow.left.arrow.right";
        case SettingsSection::hotkeys: return "command";
        case SettingsSection::languages: return "character.book.closed";
        case SettingsSection::exceptions: return "text.badge.xmark";
        case SettingsSection::applications: return "app.badge.checkmark";
        case SettingsSection::privacy: return "hand.raised";
        case SettingsSection::statistics: return "chart.bar.xaxis";
    }
    return {};
}

}  // namespace tarvelo
