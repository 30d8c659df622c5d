// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/keyboard_monitor.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"

namespace tarvelo {
namespace {

constexpr std::uint64_t kCommand = modifier_flag::kCommand;
constexpr std::uint64_t kControl = modifier_flag::kControl;

TEST(KeyboardMonitor, ClosedWordReachesTheEngineOnceItsKeyHasPassedAndIsKeptTwelveSeconds) {
    SimulatedSession session;
    session.settings.isAutoSwitchEnabled.set(false);  // the engine then reports every boundary it gets
    auto field = session.openField();

    for (const char* key : {"h", "i", " "}) {
        KeyEventRecord event;
        event.characters = key;
        EXPECT_EQ(session.keyboard.press(event), TapAnswer::pass);
    }
    EXPECT_EQ(field->text(), "hi ");
    ASSERT_TRUE(session.monitor().lastBoundary());
    EXPECT_EQ(session.monitor().lastBoundary()->word, "hi");
    EXPECT_EQ(session.monitor().lastBoundary()->delimiter, " ");
    EXPECT_EQ(session.monitor().lastBoundary()->bundleIdentifier, SimulatedSession::kEditor);
    // Not from inside the tap's callback: the delimiter goes on to the application first.
    EXPECT_EQ(session.status(), "Ready");
    session.scheduler.runDue();
    EXPECT_EQ(session.status(), "Automatic correction is paused or off");

    // A second word 5 s later: the first word's expiry leaves it alone; its own expiry empties the slot.
    session.wait(5.0);
    session.keyboard.type("yo\t");
    session.wait(7.5);
    ASSERT_TRUE(session.monitor().lastBoundary());
    EXPECT_EQ(session.monitor().lastBoundary()->word, "yo");
    EXPECT_EQ(session.monitor().lastBoundary()->delimiter, "\t");
    session.wait(4.6);
    EXPECT_FALSE(session.monitor().lastBoundary());
}

TEST(KeyboardMonitor, KeysThatBreakTheWordClearItAndPass) {
    struct Case {
        const char* name;
        KeyEventRecord event;
    };
    KeyEventRecord copy{KeyEventRecord::kKeyDown, kCommand, 8, 0, "c"};
    KeyEventRecord selectAll{KeyEventRecord::kKeyDown, kControl, 0, 0, "\x01"};
    KeyEventRecord undoWithNothingToUndo{KeyEventRecord::kKeyDown, kCommand, 6, 0, "z"};
    KeyEventRecord composed{KeyEventRecord::kKeyDown, 0, 10, 0, "e\u0301a"};
    KeyEventRecord noText{KeyEventRecord::kKeyDown, 0, 123, 0, std::nullopt};
    KeyEventRecord emptyText{KeyEventRecord::kKeyDown, 0, 123, 0, ""};
    const Case cases[] = {{"Command-C", copy},           {"Control-A", selectAll},
                          {"Command-Z", undoWithNothingToUndo}, {"two characters", composed},
                          {"no characters", noText},    {"empty characters", emptyText}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        session.openField();
        session.keyboard.type("abc");
        ASSERT_EQ(session.monitor().currentWordLength().get(), 3u);
        EXPECT_EQ(session.keyboard.press(c.event), TapAnswer::pass);
        EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);
        session.keyboard.type(" ");
        EXPECT_FALSE(session.monitor().lastBoundary());
    }
}

TEST(KeyboardMonitor, DeleteTakesBackOneCharacterOfTheWord) {
    SimulatedSession session;
    auto field = session.openField();
    EXPECT_EQ(session.keyboard.pressDelete(), TapAnswer::pass);
    EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);

    session.keyboard.type("ghbdtnn");
    session.keyboard.pressDelete();
    EXPECT_EQ(session.monitor().currentWordLength().get(), 6u);
    session.keyboard.type(" ");
    session.wait(1.0);
    EXPECT_EQ(field->text(), "привет ");

    // An over-long word stays thrown away through a Delete; the next word is collected as usual.
    session.keyboard.type(std::string(65, 'a'));
    session.keyboard.pressDelete();
    session.keyboard.type("b ");
    EXPECT_EQ(session.monitor().lastBoundary()->word, "ghbdtn");
    session.keyboard.type("vbh ");
    EXPECT_EQ(session.monitor().lastBoundary()->word, "vbh");
}

TEST(KeyboardMonitor, SystemsOwnEventsPassUnexamined) {
    SimulatedSession session;
    session.openField();
    session.keyboard.type("ab");
    KeyEventRecord marked{KeyEventRecord::kKeyDown, 0, 0, kSyntheticEventMarker, " "};
    EXPECT_EQ(session.keyboard.press(marked), TapAnswer::pass);
    marked.keyCode = 49;
    marked.flags = modifier_flag::kOption;  // even what would be a shortcut
    EXPECT_EQ(session.keyboard.press(marked), TapAnswer::pass);
    EXPECT_EQ(session.monitor().currentWordLength().get(), 2u);
    EXPECT_FALSE(session.monitor().lastBoundary());
    EXPECT_EQ(session.engine().passedKeyCount(), 2u);
}

TEST(KeyboardMonitor, TapDisabledByTheSystemIsEnabledAgain) {
    SimulatedSession session;
    for (const std::uint32_t reason : {KeyEventRecord::kTapDisabledByTimeout, KeyEventRecord::kTapDisabledByUserInput}) {
        EXPECT_EQ(session.keyboard.disableTap(reason), TapAnswer::pass);
        EXPECT_TRUE(session.keyboard.isEnabled());
        EXPECT_TRUE(session.monitor().isRunning().get());
    }
}

TEST(KeyboardMonitor, StartsOnlyWithPermissionAndATap) {
    SimulatedSession session;
    session.monitor().stop();
    ASSERT_FALSE(session.monitor().isRunning().get());

    // Without input monitoring, start does nothing at all.
    session.permissions.hasInputMonitoring.set(false);
    const std::size_t installs = session.keyboard.installCount();
    session.monitor().start();
    EXPECT_EQ(session.keyboard.installCount(), installs);
    EXPECT_FALSE(session.monitor().isRunning().get());

    // A tap that cannot be made leaves the monitor stopped.
    session.keyboard.setInstallFails(true);
    session.trust.setListenEvents(true);
    session.monitor().restartIfPossible();
    EXPECT_TRUE(session.permissions.hasInputMonitoring.get());
    EXPECT_FALSE(session.monitor().isRunning().get());

    session.keyboard.setInstallFails(false);
    const std::size_t installsBefore = session.keyboard.installCount();
    session.monitor().start();
    session.monitor().start();
    EXPECT_TRUE(session.monitor().isRunning().get());
    EXPECT_EQ(session.keyboard.installCount(), installsBefore + 1);
}

TEST(KeyboardMonitor, StoppingForgetsTheCurrentWordButNotTheLastOne) {
    SimulatedSession session;
    session.openField();
    session.keyboard.type("vbh ghb");
    session.monitor().stop();
    EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);
    EXPECT_FALSE(session.keyboard.isInstalled());
    ASSERT_TRUE(session.monitor().lastBoundary());
    EXPECT_EQ(session.monitor().lastBoundary()->word, "vbh");

    session.monitor().start();
    session.keyboard.type("dtn ");
    EXPECT_EQ(session.monitor().lastBoundary()->word, "dtn");
}

}  // namespace
}  // namespace tarvelo
