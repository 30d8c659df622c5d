// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/permission_manager.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_trust.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/manual_scheduler.h"

namespace tarvelo {
namespace {

const std::string kFirstChoice = "x-apple.systempreferences:com.apple.preference.security?";
const std::string kFallback = "x-apple.systempreferences:com.apple.settings.PrivacySecurity.extension?";

struct PermissionManagerTest : ::testing::Test {
    FakeTrust trust{false, false};
    FakeDesktop desktop;
    ManualClock clock;
    ManualScheduler scheduler{clock};
};

TEST_F(PermissionManagerTest, AGrantShowsUpAtTheNextTick) {
    PermissionManager permissions(trust, desktop, scheduler);
    EXPECT_FALSE(permissions.hasAccessibility.get());
    EXPECT_FALSE(permissions.hasInputMonitoring.get());

    trust.setAccessibility(true);
    trust.setListenEvents(true);
    scheduler.advance(1.9);
    EXPECT_FALSE(permissions.hasAccessibility.get());
    scheduler.advance(0.1);
    EXPECT_TRUE(permissions.hasAccessibility.get());
    EXPECT_TRUE(permissions.hasInputMonitoring.get());

    trust.setListenEvents(false);
    permissions.refresh();
    EXPECT_FALSE(permissions.hasInputMonitoring.get());
}

TEST_F(PermissionManagerTest, BothFlagsAreAssignedOnEveryTickEvenUnchanged) {
    PermissionManager permissions(trust, desktop, scheduler);
    int accessibilityAssignments = 0;
    int inputMonitoringAssignments = 0;
    const Subscription a = permissions.hasAccessibility.subscribe([&](bool) { ++accessibilityAssignments; });
    const Subscription b = permissions.hasInputMonitoring.subscribe([&](bool) { ++inputMonitoringAssignments; });

    scheduler.advance(6.0);
    EXPECT_EQ(accessibilityAssignments, 3);
    EXPECT_EQ(inputMonitoringAssignments, 3);
    permissions.refresh();
    EXPECT_EQ(accessibilityAssignments, 4);
    EXPECT_EQ(inputMonitoringAssignments, 4);
}

TEST_F(PermissionManagerTest, TheFallbackPageIsOpenedOnlyWhenTheFirstChoiceFails) {
    struct Case {
        const char* name;
        std::vector<std::string> openable;
        std::vector<std::string> requests;
    };
    const Case cases[] = {
        {"the first choice opens", {kFirstChoice + "Privacy_Accessibility"}, {kFirstChoice + "Privacy_Accessibility"}},
        {"only the fallback opens",
         {kFallback + "Privacy_Accessibility"},
         {kFirstChoice + "Privacy_Accessibility", kFallback + "Privacy_Accessibility"}},
        {"neither opens", {}, {kFirstChoice + "Privacy_Accessibility", kFallback + "Privacy_Accessibility"}},
    };
    for (const Case& c : cases) {
        FakeDesktop workspace;
        for (const std::string& address : c.openable) workspace.allowOpening(address);
        PermissionManager permissions(trust, workspace, scheduler);
        permissions.openPrivacyPane("Privacy_Accessibility");
        EXPECT_EQ(workspace.openRequests(), c.requests) << c.name;
    }
}

TEST_F(PermissionManagerTest, RequestsPromptAndOpenTheirPageEvenWhenGranted) {
    FakeTrust granted;
    desktop.allowOpening(kFirstChoice + "Privacy_Accessibility");
    desktop.allowOpening(kFirstChoice + "Privacy_ListenEvent");
    PermissionManager permissions(granted, desktop, scheduler);

    permissions.requestAccessibility();
    EXPECT_EQ(granted.accessibilityPrompts(), 1);
    EXPECT_EQ(granted.listenEventRequests(), 0);
    permissions.requestInputMonitoring();
    EXPECT_EQ(granted.listenEventRequests(), 1);
    EXPECT_EQ(desktop.openRequests(),
              (std::vector<std::string>{kFirstChoice + "Privacy_Accessibility", kFirstChoice + "Privacy_ListenEvent"}));
}

TEST_F(PermissionManagerTest, DesktopWithoutPrivacyPagesOpensNothing) {
    FakeTrust granted;
    PermissionManager permissions(granted, desktop, scheduler, PrivacyPaneAddresses::none());
    permissions.requestAccessibility();
    permissions.requestInputMonitoring();
    EXPECT_EQ(granted.accessibilityPrompts(), 1);
    EXPECT_EQ(granted.listenEventRequests(), 1);
    EXPECT_TRUE(desktop.openRequests().empty());
}

}  // namespace
}  // namespace tarvelo
