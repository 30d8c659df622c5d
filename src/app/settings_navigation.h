// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/settings_section.h"
#include "support/observable.h"

namespace tarvelo {

// Which section the settings window shows. One lives as long as the process, so the window reopens on
// the section last shown; the choice is not stored across launches.
struct SettingsNavigation {
    Observable<SettingsSection> requestedSection{SettingsSection::general};
};

}  // namespace tarvelo
