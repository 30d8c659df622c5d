// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/settings_manager.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fake_login_items.h"
#include "platform/fake/fake_notification_center.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/memory_defaults_store.h"
#include "store/defaults_keys.h"

namespace tarvelo {
namespace {

struct SettingsFixture : ::testing::Test {
    MemoryDefaultsStore store;
    ManualClock clock;
    FakeLoginItems loginItems;
    FakeNotificationCenter notifications;
};

TEST_F(SettingsFixture, EmptyStoreGivesTheBuiltInDefaultsWithoutWritingThem) {
    SettingsManager settings(store, clock, loginItems, notifications);
    EXPECT_TRUE(settings.isAutoSwitchEnabled.get());
    EXPECT_FALSE(settings.switchLayoutAfterCorrection.get());
    EXPECT_FALSE(settings.playSound.get());
    EXPECT_FALSE(settings.showNotification.get());
    EXPECT_TRUE(settings.showMenuBarIcon.get());
    EXPECT_DOUBLE_EQ(settings.sensitivity.get(), 0.72);
    EXPECT_FALSE(settings.isPaused());
    EXPECT_FALSE(settings.launchAtLogin.get());
    EXPECT_FALSE(store.boolForKey(defaults_keys::onboarding));
    // Registered values answer reads but are never the user's own.
    EXPECT_TRUE(store.stored().empty());
    EXPECT_TRUE(store.boolForKey(defaults_keys::autoSwitch));
}

TEST_F(SettingsFixture, EachChangeIsStoredAtOnceAndSurvivesARestart) {
    {
        SettingsManager settings(store, clock, loginItems, notifications);
        settings.isAutoSwitchEnabled.set(false);
        settings.switchLayoutAfterCorrection.set(true);
        settings.playSound.set(true);
        settings.showNotification.set(true);
        settings.showMenuBarIcon.set(false);
        settings.sensitivity.set(0.35);
        EXPECT_EQ(store.object(defaults_keys::sensitivity), DefaultsValue(0.35));
    }
    store.restart();
    SettingsManager settings(store, clock, loginItems, notifications);
    EXPECT_FALSE(settings.isAutoSwitchEnabled.get());
    EXPECT_TRUE(settings.switchLayoutAfterCorrection.get());
    EXPECT_TRUE(settings.playSound.get());
    EXPECT_TRUE(settings.showNotification.get());
    EXPECT_FALSE(settings.showMenuBarIcon.get());
    EXPECT_DOUBLE_EQ(settings.sensitivity.get(), 0.35);
}

TEST_F(SettingsFixture, StoredValuesAreUsedAsFoundAndRemovedOnesFallBackToDefaults) {
    store.setDouble(defaults_keys::sensitivity, 1.3);
    store.setBool(defaults_keys::menuIcon, false);
    store.remove(defaults_keys::menuIcon);
    SettingsManager settings(store, clock, loginItems, notifications);
    EXPECT_DOUBLE_EQ(settings.sensitivity.get(), 1.3);  // neither clamped nor rounded
    EXPECT_TRUE(settings.showMenuBarIcon.get());
}

TEST_F(SettingsFixture, PauseLastsFiveMinutesAndOutlivesARestart) {
    {
        SettingsManager settings(store, clock, loginItems, notifications);
        settings.pause();
        EXPECT_TRUE(settings.isPaused());
        EXPECT_EQ(store.object(defaults_keys::pauseUntil), DefaultsValue(DefaultsDate{clock.now() + 300.0}));
        clock.advance(200);
        settings.pause();  // a new pause replaces the running one's end
        EXPECT_EQ(settings.pauseUntil.get(), clock.now() + 300.0);
    }
    store.restart();
    clock.advance(299);
    SettingsManager settings(store, clock, loginItems, notifications);
    EXPECT_TRUE(settings.isPaused());
    clock.advance(2);
    // Expired, yet still stored until it is replaced.
    EXPECT_FALSE(settings.isPaused());
    EXPECT_TRUE(store.hasStoredValue(defaults_keys::pauseUntil));

    settings.resume();
    EXPECT_FALSE(store.hasStoredValue(defaults_keys::pauseUntil));
    EXPECT_EQ(settings.pauseUntil.get(), std::nullopt);
}

TEST_F(SettingsFixture, PauseUntilThatIsNotADateIsRemovedAtStart) {
    const DefaultsValue notDates[] = {DefaultsValue(std::int64_t{2'000'000}), DefaultsValue(2e6),
                                      DefaultsValue(DefaultsStringArray{"tomorrow"}), DefaultsValue(true)};
    for (const DefaultsValue& value : notDates) {
        store.setObject(defaults_keys::pauseUntil, value);
        SettingsManager settings(store, clock, loginItems, notifications);
        EXPECT_FALSE(settings.isPaused());
        EXPECT_EQ(settings.pauseUntil.get(), std::nullopt);
        EXPECT_FALSE(store.hasStoredValue(defaults_keys::pauseUntil)) << value.index();
    }
}

TEST_F(SettingsFixture, LaunchAtLoginMirrorsTheServiceAndKeepsItsMessage) {
    FakeLoginItems enabledItems(true);
    EXPECT_TRUE(SettingsManager(store, clock, enabledItems, notifications).launchAtLogin.get());

    SettingsManager settings(store, clock, loginItems, notifications);
    loginItems.setFailure("Permission denied");
    settings.setLaunchAtLogin(true);
    EXPECT_FALSE(settings.launchAtLogin.get());
    EXPECT_EQ(settings.launchAtLoginError.get(), "Permission denied");

    loginItems.setFailure(std::nullopt);
    settings.setLaunchAtLogin(true);
    EXPECT_TRUE(settings.launchAtLogin.get());
    EXPECT_EQ(settings.launchAtLoginError.get(), std::nullopt);

    // A failed switch-off shows the real state, still on.
    loginItems.setFailure("Read-only file system");
    settings.setLaunchAtLogin(false);
    EXPECT_TRUE(settings.launchAtLogin.get());
    EXPECT_EQ(settings.launchAtLoginError.get(), "Read-only file system");
    EXPECT_FALSE(store.hasStoredValue("settings.launchAtLogin"));
}

TEST_F(SettingsFixture, RefusedNotificationPermissionTurnsTheSwitchOffAgain) {
    SettingsManager settings(store, clock, loginItems, notifications);
    settings.setNotificationsEnabled(true);
    EXPECT_TRUE(settings.showNotification.get());
    EXPECT_TRUE(store.boolForKey(defaults_keys::notification));
    notifications.answerAuthorization(false);
    EXPECT_FALSE(settings.showNotification.get());
    EXPECT_EQ(store.object(defaults_keys::notification), DefaultsValue(false));

    settings.setNotificationsEnabled(true);
    notifications.answerAuthorization(true);
    EXPECT_TRUE(settings.showNotification.get());

    // Turning it off asks nothing.
    settings.setNotificationsEnabled(false);
    EXPECT_EQ(notifications.authorizationRequests(), 2);
}

TEST_F(SettingsFixture, AnAnswerArrivingAfterTheManagerIsGoneIsIgnored) {
    {
        SettingsManager settings(store, clock, loginItems, notifications);
        settings.setNotificationsEnabled(true);
    }
    notifications.answerAuthorization(false);
    EXPECT_TRUE(store.boolForKey(defaults_keys::notification));
}

TEST_F(SettingsFixture, ShortcutChordsAreStoredAsTheirPartsAndTheDefaultIsNotStored) {
    const KeyChord ctrlShiftSpace{virtual_key::kSpace, modifier_flag::kCommand | modifier_flag::kShift};
    {
        SettingsManager settings(store, clock, loginItems, notifications);
        EXPECT_EQ(settings.convertSelectionChord.get(), SettingsManager::kDefaultConvertSelectionChord);
        EXPECT_EQ(settings.convertLastWordChord.get(), SettingsManager::kDefaultConvertLastWordChord);
        settings.convertLastWordChord.set(ctrlShiftSpace);
        EXPECT_EQ(store.stringArrayForKey(defaults_keys::convertLastWordChord),
                  (DefaultsStringArray{"Ctrl", "Shift", "Space"}));
        EXPECT_FALSE(store.object(defaults_keys::convertSelectionChord));
    }
    store.restart();
    {
        SettingsManager settings(store, clock, loginItems, notifications);
        EXPECT_EQ(settings.convertLastWordChord.get(), ctrlShiftSpace);
        // Back to the default: nothing of the user's is left, so a later default applies.
        settings.convertLastWordChord.set(SettingsManager::kDefaultConvertLastWordChord);
        EXPECT_FALSE(store.object(defaults_keys::convertLastWordChord));
    }
}

TEST_F(SettingsFixture, ADamagedStoredChordReadsAsTheDefaultAndStaysStored) {
    const std::vector<DefaultsValue> damaged{
        DefaultsValue(DefaultsStringArray{"Ctrl", "Hyper", "Space"}),  // an unknown name
        DefaultsValue(DefaultsStringArray{"Shift", "A"}),              // no shortcut: it would take a letter
        DefaultsValue(DefaultsStringArray{}),
        DefaultsValue(true),
        DefaultsValue(std::int64_t{49}),
    };
    for (const DefaultsValue& value : damaged) {
        store.setObject(defaults_keys::convertSelectionChord, value);
        store.restart();
        SettingsManager settings(store, clock, loginItems, notifications);
        EXPECT_EQ(settings.convertSelectionChord.get(), SettingsManager::kDefaultConvertSelectionChord);
        EXPECT_EQ(store.object(defaults_keys::convertSelectionChord), value);
        // Other settings changing does not write over it either.
        settings.playSound.set(true);
        settings.convertLastWordChord.set({virtual_key::kSpace, modifier_flag::kControl});
        EXPECT_EQ(store.object(defaults_keys::convertSelectionChord), value);
    }
}

TEST_F(SettingsFixture, ADamagedLayoutSwitchValueReadsAsOffAndStaysStored) {
    const std::vector<DefaultsValue> damaged{
        DefaultsValue(DefaultsStringArray{"yes"}),
        DefaultsValue(DefaultsDate{1.0}),
        DefaultsValue(DefaultsData{1, 2}),
    };
    for (const DefaultsValue& value : damaged) {
        store.setObject(defaults_keys::switchLayout, value);
        store.restart();
        SettingsManager settings(store, clock, loginItems, notifications);
        EXPECT_FALSE(settings.switchLayoutAfterCorrection.get());
        settings.playSound.set(true);
        settings.isAutoSwitchEnabled.set(false);
        EXPECT_EQ(store.object(defaults_keys::switchLayout), value);
    }
    // A number is read as other booleans are: not zero is on.
    store.setInteger(defaults_keys::switchLayout, 1);
    store.restart();
    SettingsManager settings(store, clock, loginItems, notifications);
    EXPECT_TRUE(settings.switchLayoutAfterCorrection.get());
}

}  // namespace
}  // namespace tarvelo
