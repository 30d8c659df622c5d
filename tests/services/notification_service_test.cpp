// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/notification_service.h"

#include <regex>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/fake/fake_login_items.h"
#include "platform/fake/fake_notification_center.h"
#include "platform/key_labels.h"
#include "platform/fake/fake_system_sound.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/memory_defaults_store.h"

namespace tarvelo {
namespace {

struct NotificationServiceTest : ::testing::Test {
    MemoryDefaultsStore store;
    ManualClock clock;
    FakeLoginItems loginItems;
    FakeNotificationCenter center;
    SettingsManager settings{store, clock, loginItems, center};
};

TEST_F(NotificationServiceTest, SoundAndNotificationFollowTheSettings) {
    struct Case {
        bool playSound;
        bool showNotification;
        std::size_t sounds;
        std::size_t notifications;
    };
    for (const Case& c : {Case{false, false, 0, 0}, Case{true, true, 2, 2}, Case{false, true, 0, 2},
                          Case{true, false, 2, 0}}) {
        FakeSystemSound sound;
        FakeNotificationCenter shown;
        NotificationService service(sound, shown);
        settings.playSound.set(c.playSound);
        settings.showNotification.set(c.showNotification);

        service.correctionCompleted(settings);
        service.correctionCompleted(settings);

        EXPECT_EQ(sound.played(), std::vector<std::string>(c.sounds, "Tink")) << c.playSound << c.showNotification;
        EXPECT_EQ(shown.posted().size(), c.notifications) << c.playSound << c.showNotification;
    }
}

TEST_F(NotificationServiceTest, EachNotificationHasAFreshRandomIdentifier) {
    FakeSystemSound sound;
    NotificationService service(sound, center);
    settings.showNotification.set(true);
    for (int i = 0; i < 20; ++i) service.correctionCompleted(settings);

    const std::regex uuid("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    std::set<std::string> identifiers;
    for (const UserNotification& notification : center.posted()) {
        EXPECT_TRUE(std::regex_match(notification.identifier, uuid)) << notification.identifier;
        EXPECT_EQ(notification.title, "Layout corrected");
        EXPECT_EQ(notification.body, "The last word was corrected. Press Command\u2013Z to undo.");
        identifiers.insert(notification.identifier);
    }
    EXPECT_EQ(identifiers.size(), 20u);

    NotificationService onAPc(sound, center, KeyLabels::pc().undoInSentence);
    onAPc.correctionCompleted(settings);
    EXPECT_EQ(center.posted().back().body, "The last word was corrected. Press Ctrl+Z to undo.");
}

TEST_F(NotificationServiceTest, AMissingSoundStillLeavesTheNotification) {
    FakeSystemSound silent(std::set<std::string, std::less<>>{});
    NotificationService service(silent, center);
    settings.playSound.set(true);
    settings.showNotification.set(true);
    service.correctionCompleted(settings);
    EXPECT_TRUE(silent.played().empty());
    EXPECT_EQ(center.posted().size(), 1u);
}

}  // namespace
}  // namespace tarvelo
