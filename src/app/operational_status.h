// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarvelo {

// What the status icon, its menu and the privacy page say about the whole system.
enum class OperationalStatus { active, paused, disabled, permissionsRequired, monitorUnavailable };

// "Auto Switch is active", "Auto Switch is paused", ...
std::string_view title(OperationalStatus status);
// The symbol's name ("character.cursor.ibeam", ...); the desktop maps it to an icon of its theme.
std::string_view systemImage(OperationalStatus status);

}  // namespace tarvelo
