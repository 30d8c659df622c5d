// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "platform/trust.h"
#include "platform/workspace.h"
#include "support/observable.h"
#include "support/scheduler.h"
#include "support/subscription.h"

namespace tarvelo {

// Where the desktop's privacy settings are opened: a first choice and a fall-back, each completed by
// the page's anchor.
struct PrivacyPaneAddresses {
    std::string firstChoicePrefix;
    std::string fallbackPrefix;
    std::string accessibilityAnchor;
    std::string inputMonitoringAnchor;

    // System Settings on macOS.
    static PrivacyPaneAddresses systemSettings();
    // A desktop whose permission requests open their own settings: no page is opened.
    static PrivacyPaneAddresses none() { return {}; }
};

// Whether the two permissions are granted, re-read every two seconds so that a grant shows up without a
// restart. Both flags are written on every tick, changed or not; the launch and the keyboard monitor's
// restart write them too.
class PermissionManager {
public:
    static constexpr double kRefreshInterval = 2.0;

    PermissionManager(Trust& trust, Workspace& workspace, Scheduler& scheduler,
                      PrivacyPaneAddresses addresses = PrivacyPaneAddresses::systemSettings());
    PermissionManager(const PermissionManager&) = delete;
    PermissionManager& operator=(const PermissionManager&) = delete;

    Observable<bool> hasAccessibility;
    Observable<bool> hasInputMonitoring;

    // Shows the desktop's prompt, then opens the matching privacy page; the flags follow at the next tick.
    void requestAccessibility();
    void requestInputMonitoring();

    // Opens the first-choice page for `anchor`, or the fall-back when that cannot be opened.
    void openPrivacyPane(std::string_view anchor);

    // Reads both permissions from the desktop now.
    void refresh();

private:
    Trust& trust_;
    Workspace& workspace_;
    PrivacyPaneAddresses addresses_;
    Subscription timer_;
};

}  // namespace tarvelo
