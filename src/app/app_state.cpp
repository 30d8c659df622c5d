// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_state.h"

namespace tarvelo {

AppState::AppState(SettingsManager& settingsManager, PermissionManager& permissionManager,
                   ExceptionManager& exceptionManager, ApplicationFilter& filter, StatisticsManager& statisticsManager,
                   InputSourceService& inputSourceService, const PipelinePlatform& platform, AppShell& shell)
    : settings(settingsManager),
      permissions(permissionManager),
      exceptions(exceptionManager),
      applicationFilter(filter),
      statistics(statisticsManager),
      inputSource(inputSourceService),
      hotkeys(settings),
      engine(settings, exceptions, applicationFilter, statistics, permissions, LayoutConverter(), platform),
      keyboardMonitor(platform.accessibility, permissions, engine, platform),
      shell_(shell),
      scheduler_(platform.scheduler) {
    // Each subscription also runs once now with the current values. They die with AppState, so none
    // needs to hold it weakly.
    const auto followPermissions = [this](const bool&) {
        if (permissions.hasInputMonitoring.get() && permissions.hasAccessibility.get()) {
            keyboardMonitor.start();
        } else {
            keyboardMonitor.stop();
        }
    };
    cancellables_.push_back(permissions.hasInputMonitoring.subscribe(followPermissions));
    cancellables_.push_back(permissions.hasAccessibility.subscribe(followPermissions));
    followPermissions(true);

    const auto followChords = [this](const KeyChord&) {
        keyboardMonitor.setChords(settings.convertSelectionChord.get(), settings.convertLastWordChord.get());
    };
    cancellables_.push_back(settings.convertSelectionChord.subscribe(followChords));
    cancellables_.push_back(settings.convertLastWordChord.subscribe(followChords));
    followChords({});

    const auto followMenuBarIcon = [this](const bool& shown) {
        if (shownMenuBarIcon_ == shown) return;
        shownMenuBarIcon_ = shown;
        shell_.setActivationPolicy(shown ? ActivationPolicy::accessory : ActivationPolicy::regular);
    };
    cancellables_.push_back(settings.showMenuBarIcon.subscribe(followMenuBarIcon));
    followMenuBarIcon(settings.showMenuBarIcon.get());

    const auto update = [this](const auto&) { updateOperationalStatus(); };
    cancellables_.push_back(settings.isAutoSwitchEnabled.subscribe(update));
    cancellables_.push_back(settings.pauseUntil.subscribe(update));
    cancellables_.push_back(permissions.hasAccessibility.subscribe(update));
    cancellables_.push_back(permissions.hasInputMonitoring.subscribe(update));
    cancellables_.push_back(keyboardMonitor.isRunning().subscribe(update));

    statusTimer_ = scheduler_.every(kStatusInterval, lifetime_.guard([this] {
        scheduler_.after(0.0, lifetime_.guard([this] { updateOperationalStatus(); }));
    }));
    updateOperationalStatus();
}

void AppState::updateOperationalStatus() {
    if (!settings.isAutoSwitchEnabled.get()) {
        operationalStatus_.set(OperationalStatus::disabled);
    } else if (settings.isPaused()) {
        operationalStatus_.set(OperationalStatus::paused);
    } else if (!permissions.hasAccessibility.get() || !permissions.hasInputMonitoring.get()) {
        operationalStatus_.set(OperationalStatus::permissionsRequired);
    } else if (keyboardMonitor.isRunning().get()) {
        operationalStatus_.set(OperationalStatus::active);
    } else {
        operationalStatus_.set(OperationalStatus::monitorUnavailable);
    }
}

}  // namespace tarvelo
