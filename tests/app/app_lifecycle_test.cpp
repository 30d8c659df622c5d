// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_lifecycle.h"

#include <optional>
#include <string>
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

TEST(AppLifecycle, OnADesktopWhoseWindowMenuHoldsAltSpaceTheFirstLaunchMovesConvertSelectionOnce) {
    struct Case {
        const char* name;
        const char* currentDesktop;
        std::vector<std::string> held;
        std::optional<DefaultsValue> stored;
        bool moved;
    };
    const Case cases[] = {
        {"GNOME holds it", "ubuntu:GNOME", {"Alt+Space"}, std::nullopt, true},
        {"Xfce holds it", "XFCE", {"Alt+Space"}, std::nullopt, true},
        {"KDE does not hold it here", "KDE", {}, std::nullopt, false},
        {"an unknown desktop holds it", "Sway", {"Alt+Space"}, std::nullopt, false},
        {"the alternative is held too", "MATE", {"Alt+Space", "Ctrl+Shift+Space"}, std::nullopt, false},
        {"the user chose a chord", "GNOME", {"Alt+Space"}, DefaultsValue(DefaultsStringArray{"Super", "F5"}), false},
        {"a stored value that cannot be read", "GNOME", {"Alt+Space"}, DefaultsValue(true), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        if (c.stored) session.defaults.setObject(defaults_keys::convertSelectionChord, *c.stored);
        RecordingWindowPresenter windows;
        AppLifecycle lifecycle(session.app, session.defaults, windows, session.scheduler, session.notificationCenter);
        lifecycle.setDesktop({c.currentDesktop, [&c] { return c.held; }});
        lifecycle.launch(true);
        session.wait(0.0);
        EXPECT_EQ(session.settings.convertSelectionChord.get() == AppLifecycle::kWindowMenuAlternative, c.moved);
        EXPECT_EQ(session.notificationCenter.posted().size(), c.moved ? 1u : 0u);
        if (c.stored) {
            EXPECT_EQ(session.defaults.object(defaults_keys::convertSelectionChord), c.stored);
        }
        if (!c.moved) continue;
        EXPECT_EQ(session.defaults.stringArrayForKey(defaults_keys::convertSelectionChord),
                  (DefaultsStringArray{"Ctrl", "Shift", "Space"}));
        // The next launch finds the chord stored and says nothing more.
        lifecycle.launch(true);
        session.wait(0.0);
        EXPECT_EQ(session.notificationCenter.posted().size(), 1u);
    }
}

}  // namespace
}  // namespace tarvelo
