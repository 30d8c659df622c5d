// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_state.h"

#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"

namespace tarvelo {
namespace {

TEST(AppState, StatusFollowsTheFirstRuleThatApplies) {
    struct Case {
        const char* name;
        bool autoSwitch;
        bool paused;
        bool accessibility;
        bool listening;
        bool tapFails;
        OperationalStatus status;
    };
    const Case cases[] = {
        {"all well", true, false, true, true, false, OperationalStatus::active},
        {"tap cannot be made", true, false, true, true, true, OperationalStatus::monitorUnavailable},
        {"off beats everything", false, true, false, false, true, OperationalStatus::disabled},
        {"paused beats missing permissions", true, true, false, false, false, OperationalStatus::paused},
        {"no accessibility", true, false, false, true, false, OperationalStatus::permissionsRequired},
        {"no input monitoring", true, false, true, false, false, OperationalStatus::permissionsRequired},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        session.keyboard.setInstallFails(c.tapFails);
        session.monitor().stop();
        session.trust.setAccessibility(c.accessibility);
        session.trust.setListenEvents(c.listening);
        session.settings.isAutoSwitchEnabled.set(c.autoSwitch);
        if (c.paused) session.settings.pause();
        session.wait(2.0);
        EXPECT_EQ(session.app.operationalStatus().get(), c.status);
    }
    EXPECT_EQ(title(OperationalStatus::monitorUnavailable), "Input monitor is unavailable");
    EXPECT_EQ(systemImage(OperationalStatus::paused), "pause.circle");
}

TEST(AppState, PauseEndsOnItsOwnWithinASecond) {
    SimulatedSession session;
    ASSERT_EQ(session.app.operationalStatus().get(), OperationalStatus::active);
    session.settings.pause();
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::paused);
    session.wait(299.5);
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::paused);
    session.wait(1.0);
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::active);
    EXPECT_TRUE(session.settings.pauseUntil.get());  // an ended pause is not cleared

    session.settings.pause();
    session.settings.resume();
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::active);
}

TEST(AppState, StatusIsPublishedEverySecondEvenWhenUnchanged) {
    SimulatedSession session;
    int published = 0;
    const Subscription counting = session.app.operationalStatus().subscribe([&](const OperationalStatus&) { ++published; });
    session.wait(1.0);
    EXPECT_GE(published, 1);
    const int afterOne = published;
    session.wait(3.0);
    EXPECT_GE(published, afterOne + 3);
}

TEST(AppState, MonitorRunsExactlyWhileBothPermissionsAreGranted) {
    SimulatedSession session;
    EXPECT_TRUE(session.monitor().isRunning().get());

    session.trust.setListenEvents(false);
    session.wait(2.0);
    EXPECT_FALSE(session.monitor().isRunning().get());
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::permissionsRequired);

    session.trust.setListenEvents(true);
    session.trust.setAccessibility(false);
    session.wait(2.0);
    EXPECT_FALSE(session.monitor().isRunning().get());

    session.trust.setAccessibility(true);
    session.wait(2.0);
    EXPECT_TRUE(session.monitor().isRunning().get());
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::active);
}

TEST(AppState, ActivationPolicyFollowsTheStatusIcon) {
    SimulatedSession session;
    EXPECT_EQ(session.shell.policies(), std::vector<ActivationPolicy>{ActivationPolicy::accessory});
    session.settings.showMenuBarIcon.set(false);
    session.settings.showMenuBarIcon.set(false);
    session.settings.showMenuBarIcon.set(true);
    EXPECT_EQ(session.shell.policies(), (std::vector<ActivationPolicy>{ActivationPolicy::accessory,
                                                                       ActivationPolicy::regular,
                                                                       ActivationPolicy::accessory}));
}

}  // namespace
}  // namespace tarvelo
