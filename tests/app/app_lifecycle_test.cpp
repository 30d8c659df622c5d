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
        {"later launch, no tray on this desktop", true, true, false, {}},
        {"first launch, no tray on this desktop", false, true, false, {AppWindow::onboarding}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        session.monitor().stop();
        if (c.onboardingFinished) session.defaults.setObject(defaults_keys::onboarding, DefaultsValue{true});
        session.settings.showMenuBarIcon.set(c.showMenuBarIcon);
        RecordingWindowPresenter windows;
        AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler, session.notificationCenter);

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

TEST(AppLifecycle, WithoutATrayALaterLaunchSaysOnceHowToOpenSettings) {
    SimulatedSession session;
    session.defaults.setObject(defaults_keys::onboarding, DefaultsValue{true});
    RecordingWindowPresenter windows;
    for (int launch = 0; launch < 2; ++launch) {
        AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler, session.notificationCenter);
        lifecycle.launch(false);
        session.wait(0.0);
    }
    EXPECT_TRUE(windows.shown.empty());
    ASSERT_EQ(session.notificationCenter.posted().size(), 1u);
    EXPECT_EQ(session.notificationCenter.posted()[0].title, "Tarvelo is running");
    EXPECT_EQ(session.notificationCenter.posted()[0].body,
              "This desktop shows no tray icons. Start Tarvelo again to open its settings.");

    // With a tray, or while onboarding is still to come, there is nothing to say.
    SimulatedSession withTray;
    withTray.defaults.setObject(defaults_keys::onboarding, DefaultsValue{true});
    AppLifecycle lifecycle(withTray.app, withTray.defaults, windows, withTray.scheduler, withTray.notificationCenter);
    lifecycle.launch(true);
    withTray.wait(0.0);
    SimulatedSession firstStart;
    AppLifecycle welcome(firstStart.app, firstStart.defaults, windows, firstStart.scheduler, firstStart.notificationCenter);
    welcome.launch(false);
    firstStart.wait(0.0);
    EXPECT_TRUE(withTray.notificationCenter.posted().empty());
    EXPECT_TRUE(firstStart.notificationCenter.posted().empty());
}

TEST(AppLifecycle, LaunchReadsThePermissionsAfreshAndGoesOnWithoutThem) {
    SimulatedSession session;
    session.monitor().stop();
    session.trust.setListenEvents(false);
    RecordingWindowPresenter windows;
    AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler, session.notificationCenter);

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
    AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler, session.notificationCenter);

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
    AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler, session.notificationCenter);
    ASSERT_TRUE(session.monitor().isRunning().get());
    lifecycle.quit();
    EXPECT_FALSE(session.monitor().isRunning().get());
    EXPECT_FALSE(session.keyboard.isInstalled());
}

}  // namespace
}  // namespace tarvelo
