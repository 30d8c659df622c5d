// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tarvelo::wayland::testing {

// Tarvelo starts with the configuration of the session's own, fresh home (scripts/gnome-session and
// scripts/kde-session make one per run: XDG_CONFIG_HOME and XDG_DATA_HOME are inside it), as a user who
// has been through the welcome already, so that no window takes the focus from the fields. Written
// before Tarvelo starts, with the boolean settings `switchedOn` turned on; false with the reason in
// `failure`.
bool writeTarveloSettings(const std::vector<std::string>& switchedOn, std::string& failure);
inline bool markTarveloWelcomeDone(std::string& failure) { return writeTarveloSettings({}, failure); }

}  // namespace tarvelo::wayland::testing
