// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarvelo::wayland::testing {

// Tarvelo starts with the configuration of the session's own, fresh home (scripts/gnome-session and
// scripts/kde-session make one per run: XDG_CONFIG_HOME and XDG_DATA_HOME are inside it), as a user who
// has been through the welcome already, so that no window takes the focus from the fields. Written
// before Tarvelo starts; false with the reason in `failure`.
bool markTarveloWelcomeDone(std::string& failure);

}  // namespace tarvelo::wayland::testing
