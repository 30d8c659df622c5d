// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/permission_manager.h"

#include <string>
#include <utility>

namespace tarvelo {

PrivacyPaneAddresses PrivacyPaneAddresses::systemSettings() {
    return PrivacyPaneAddresses{
        "x-apple.systempreferences:com.apple.preference.security?",
        "x-apple.systempreferences:com.apple.settings.PrivacySecurity.extension?",
        "Privacy_Accessibility",
        "Privacy_ListenEvent",
    };
}

PermissionManager::PermissionManager(Trust& trust, Workspace& workspace, Scheduler& scheduler,
                                     PrivacyPaneAddresses addresses)
    : hasAccessibility(trust.isAccessibilityTrusted()),
      hasInputMonitoring(trust.preflightListenEventAccess()),
      trust_(trust),
      workspace_(workspace),
      addresses_(std::move(addresses)) {
    // The timer ends with the manager (timer_), so the task never reaches a destroyed one.
    timer_ = scheduler.every(kRefreshInterval, [this] { refresh(); });
}

void PermissionManager::requestAccessibility() {
    trust_.promptForAccessibility();
    openPrivacyPane(addresses_.accessibilityAnchor);
}

void PermissionManager::requestInputMonitoring() {
    trust_.requestListenEventAccess();
    openPrivacyPane(addresses_.inputMonitoringAnchor);
}

void PermissionManager::openPrivacyPane(std::string_view anchor) {
    if (addresses_.firstChoicePrefix.empty() && addresses_.fallbackPrefix.empty()) return;
    if (workspace_.open(addresses_.firstChoicePrefix + std::string(anchor))) return;
    workspace_.open(addresses_.fallbackPrefix + std::string(anchor));
}

void PermissionManager::refresh() {
    hasAccessibility.set(trust_.isAccessibilityTrusted());
    hasInputMonitoring.set(trust_.preflightListenEventAccess());
}

}  // namespace tarvelo
