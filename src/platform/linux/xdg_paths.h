// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace tarvelo::desktop {

// $XDG_CONFIG_HOME when it is set to an absolute path, else ~/.config.
std::filesystem::path xdgConfigHome();

}  // namespace tarvelo::desktop
