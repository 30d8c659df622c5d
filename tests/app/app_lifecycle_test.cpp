// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_lifecycle.h"

#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/recording_window_presenter.h"
#include "platform/fake/simulated_session.h"
#include "store/defaults_keys.h"

namespace tarvelo {
namespace {

TEST(AppLifecycle, LaunchOpensOnboardingUntilFinishedThenOnlyWhatReachesAHiddenApp) {
    struct Case {
        const char* name;
        bool onboardingFinished;
        bool showMenuBarIcon;
        bool trayAvailable;
        std::vector<AppWindow> shown;
    };
    const Case cases[] = {
        {"first launch", false, true, true, {AppWindow::onboarding}},
        {"first launch, icon hidden", false, false, true, {AppWindow::onboarding}},
        {"later launch with the icon", true, true, true, {}},
        {"later launch, icon hidden", true, false, true, {AppWindow::settings}},
        {"later launch, no tray on this desktop", true, true, false, {AppWindow::settings}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        session.monitor().stop();
        if (c.onboardingFinished) session.defaults.setObject(defaults_keys::onboarding, DefaultsValue{true});
        session.settings.showMenuBarIcon.set(c.showMenuBarIcon);
        RecordingWindowPresenter windows;
        AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler);

        lifecycle.launch(c.trayAvailable);
        EXPECT_TRUE(windows.shown.empty()) << "the rest of the launch waits for the main loop";
        EXPECT_FALSE(session.monitor().isRunning().get());
        session.wait(0.0);
        EXPECT_EQ(windows.shown, c.shown);
        EXPECT_TRUE(session.monitor().isRunning().get());
        EXPECT_EQ(session.shell.policies().back(),
                  c.showMenuBarIcon ? ActivationPolicy::accessory : ActivationPolicy::regular);
    }
}

TEST(AppLifecycle, LaunchReadsThePermissionsAfreshAndGoesOnWithoutThem) {
    SimulatedSession session;
    session.monitor().stop();
    session.trust.setListenEvents(false);
    RecordingWindowPresenter windows;
    AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler);

    lifecycle.launch(true);
    session.wait(0.0);
    EXPECT_FALSE(session.permissions.hasInputMonitoring.get());
    EXPECT_FALSE(session.monitor().isRunning().get());
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::permissionsRequired);
    EXPECT_EQ(windows.shown, std::vector<AppWindow>{AppWindow::onboarding});
}

TEST(AppLifecycle, ReopenShowsSettingsOnlyWhenNoWindowIsVisible) {
    SimulatedSession session;
    RecordingWindowPresenter windows;
    AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler);

    windows.visible = true;
    lifecycle.reopen();
    session.wait(0.0);
    EXPECT_TRUE(windows.shown.empty());

    windows.visible = false;
    lifecycle.reopen();
    EXPECT_TRUE(windows.shown.empty());
    session.wait(0.0);
    EXPECT_EQ(windows.shown, std::vector<AppWindow>{AppWindow::settings});
}

TEST(AppLifecycle, QuitRemovesTheKeyboardTap) {
    SimulatedSession session;
    RecordingWindowPresenter windows;
    AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler);
    ASSERT_TRUE(session.monitor().isRunning().get());
    lifecycle.quit();
    EXPECT_FALSE(session.monitor().isRunning().get());
    EXPECT_FALSE(session.keyboard.isInstalled());
}

}  // namespace
}  // namespace tarvelo
