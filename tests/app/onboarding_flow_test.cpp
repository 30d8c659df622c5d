// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/onboarding_flow.h"

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"
#include "store/defaults_keys.h"

namespace tarvelo {
namespace {

TEST(OnboardingFlow, StepsCountAndOfferBackAndContinue) {
    SimulatedSession session;
    int dismissals = 0;
    OnboardingFlow flow(session.app, session.defaults, KeyLabels::pc(), [&] { ++dismissals; });

    EXPECT_EQ(flow.counterText(), "1 of 3");
    EXPECT_FALSE(flow.showsBack());
    EXPECT_EQ(flow.primaryTitle(), "Continue");
    flow.back();
    EXPECT_EQ(flow.step(), 0);

    flow.primary();
    EXPECT_EQ(flow.counterText(), "2 of 3");
    EXPECT_TRUE(flow.showsBack());
    EXPECT_EQ(flow.primaryTitle(), "Continue");
    flow.primary();
    EXPECT_EQ(flow.counterText(), "3 of 3");
    EXPECT_EQ(flow.primaryTitle(), "Start Tarvelo");
    flow.back();
    EXPECT_EQ(flow.step(), 1);
    flow.primary();

    EXPECT_FALSE(session.defaults.object(defaults_keys::onboarding));
    EXPECT_EQ(dismissals, 0);
}

TEST(OnboardingFlow, FinishingStoresItAndStartsTheMonitorWhateverWasGranted) {
    for (const bool granted : {true, false}) {
        SCOPED_TRACE(granted);
        SimulatedSession session;
        session.monitor().stop();
        session.trust.setListenEvents(granted);
        session.permissions.refresh();
        int dismissals = 0;
        OnboardingFlow flow(session.app, session.defaults, KeyLabels::pc(), [&] { ++dismissals; });

        flow.primary();
        flow.primary();
        const OnboardingReadiness readiness = flow.readiness();
        EXPECT_EQ(readiness.ready, granted);
        EXPECT_EQ(readiness.heading, granted ? "Ready in the tray" : "Ready with limited access");
        EXPECT_EQ(readiness.systemImage, granted ? "checkmark.seal.fill" : "exclamationmark.shield.fill");

        flow.primary();
        EXPECT_TRUE(session.defaults.boolForKey(defaults_keys::onboarding));
        EXPECT_EQ(dismissals, 1);
        EXPECT_EQ(session.monitor().isRunning().get(), granted);
    }
}

TEST(OnboardingFlow, ReadinessFollowsGrantsAndSpeaksTheDesktopsWords) {
    SimulatedSession session;
    session.trust.setListenEvents(false);
    session.permissions.refresh();
    OnboardingFlow flow(session.app, session.defaults, KeyLabels::pc(), [] {});
    EXPECT_EQ(flow.readiness().text,
              "Tarvelo will stay idle until both are available. Open Settings \u2192 Privacy when you\u2019re ready.");
    // A Mac has the permissions the text names.
    OnboardingFlow limitedOnAMac(session.app, session.defaults, KeyLabels::mac(), [] {});
    EXPECT_EQ(limitedOnAMac.readiness().text,
              "The app will stay idle until both permissions are granted. Open Settings \u2192 Privacy when "
              "you\u2019re ready.");

    session.trust.setListenEvents(true);
    session.wait(2.0);  // the permission manager's own refresh
    EXPECT_TRUE(flow.readiness().ready);
    EXPECT_EQ(flow.readiness().text,
              "Automatic correction is on. Use Alt+Space to convert selected text at any time.");
    OnboardingFlow onAMac(session.app, session.defaults, KeyLabels::mac(), [] {});
    EXPECT_EQ(onAMac.readiness().text,
              "Automatic correction is on. Use Option\u2013Space to convert selected text at any time.");
    EXPECT_EQ(onAMac.readiness().heading, "Ready in the menu bar");
    EXPECT_EQ(flow.readiness().heading, "Ready in the tray");

    // A chord moved off the one the desktop holds is the one named.
    session.settings.convertSelectionChord.set({virtual_key::kSpace, modifier_flag::kCommand | modifier_flag::kShift});
    EXPECT_EQ(flow.readiness().text,
              "Automatic correction is on. Use Ctrl+Shift+Space to convert selected text at any time.");
}

}  // namespace
}  // namespace tarvelo
