// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "app/operational_status.h"
#include "pipeline/auto_switch_engine.h"
#include "pipeline/hot_key_manager.h"
#include "pipeline/keyboard_monitor.h"
#include "pipeline/pipeline_platform.h"
#include "platform/app_shell.h"
#include "services/input_source_service.h"
#include "services/permission_manager.h"
#include "store/application_filter.h"
#include "store/exception_manager.h"
#include "store/settings_manager.h"
#include "store/statistics_manager.h"
#include "support/lifetime.h"
#include "support/observable.h"
#include "support/subscription.h"

namespace tarvelo {

// The root of the running application: it wires the engine and the keyboard monitor to the managers,
// runs the monitor exactly while both permissions are granted, keeps the activation policy in step with
// the status icon, and publishes one operational status, recomputed on every relevant change and once
// a second.
class AppState {
public:
    static constexpr double kStatusInterval = 1.0;

    AppState(SettingsManager& settings, PermissionManager& permissions, ExceptionManager& exceptions,
             ApplicationFilter& applicationFilter, StatisticsManager& statistics, InputSourceService& inputSource,
             const PipelinePlatform& platform, AppShell& shell);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    SettingsManager& settings;
    PermissionManager& permissions;
    ExceptionManager& exceptions;
    ApplicationFilter& applicationFilter;
    StatisticsManager& statistics;
    InputSourceService& inputSource;
    HotKeyManager hotkeys;
    AutoSwitchEngine engine;
    KeyboardMonitor keyboardMonitor;

    const Observable<OperationalStatus>& operationalStatus() const { return operationalStatus_; }

private:
    void updateOperationalStatus();

    AppShell& shell_;
    Scheduler& scheduler_;
    Observable<OperationalStatus> operationalStatus_{OperationalStatus::permissionsRequired};
    std::optional<bool> shownMenuBarIcon_;
    std::vector<Subscription> cancellables_;
    Subscription statusTimer_;
    Lifetime lifetime_;
};

}  // namespace tarvelo
