// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/operational_status.h"

namespace tarvelo {

std::string_view title(OperationalStatus status) {
    switch (status) {
        case OperationalStatus::active: return "Auto Switch is active";
        case OperationalStatus::paused: return "Auto Switch is paused";
        case OperationalStatus::disabled: return "Auto Switch is off";
        case OperationalStatus::permissionsRequired: return "Permissions required";
        case OperationalStatus::monitorUnavailable: return "Input monitor is unavailable";
    }
    return {};
}

std::string_view systemImage(OperationalStatus status) {
    switch (status) {
        case OperationalStatus::active: return "character.cursor.ibeam";
        case OperationalStatus::paused: return "pause.circle";
        case OperationalStatus::disabled: return "power.circle";
        case OperationalStatus::permissionsRequired: return "exclamationmark.shield";
        case OperationalStatus::monitorUnavailable: return "exclamationmark.triangle";
    }
    return {};
}

}  // namespace tarvelo
