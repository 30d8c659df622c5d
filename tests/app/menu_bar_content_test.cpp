// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/menu_bar_content.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/recording_window_presenter.h"
#include "platform/fake/simulated_session.h"

namespace tarvelo {
namespace {

// The menu as a person reads it: titles with their key names, separators as "---".
std::vector<std::string> lines(const MenuBarContent& menu) {
    std::vector<std::string> lines;
    for (const MenuItem& item : menu.items()) {
        if (item.isSeparator()) {
            lines.push_back("---");
            continue;
        }
        std::string line = item.title;
        if (item.checkable) line += item.checked ? " [on]" : " [off]";
        if (!item.shortcut.empty()) line += " (" + item.shortcut + ")";
        lines.push_back(line);
    }
    return lines;
}

struct MenuBarContentTest : ::testing::Test {
    SimulatedSession session;
    RecordingWindowPresenter windows;
    int quits = 0;
    MenuBarContent menu{session.app, windows, KeyLabels::pc(), [this] { ++quits; }};

    void perform(const std::string& title) {
        for (const MenuItem& item : menu.items()) {
            if (item.title == title) return menu.perform(*item.command);
        }
        ADD_FAILURE() << "no item " << title;
    }
};

TEST_F(MenuBarContentTest, ItemsFollowThePauseAndTheUndoableCorrection) {
    const std::vector<std::string> running{
        "Auto Switch [on]", "Pause for 5 Minutes", "---", "Convert Selected Text (Alt+Space)",
        "Convert Last Word (Ctrl+Alt+Space)", "---", "Settings\u2026", "---", "About Tarvelo", "Quit Tarvelo (Ctrl+Q)"};
    EXPECT_EQ(lines(menu), running);

    perform("Pause for 5 Minutes");
    EXPECT_EQ(session.settings.pauseUntil.get(), session.clock.now() + 300.0);
    EXPECT_EQ(lines(menu)[1], "Resume Auto Switch");
    perform("Resume Auto Switch");
    EXPECT_FALSE(session.settings.pauseUntil.get());
    EXPECT_EQ(lines(menu), running);

    auto field = session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(0.2);
    ASSERT_EQ(field->text(), "привет ");
    auto withUndo = running;
    withUndo.insert(withUndo.begin() + 5, "Undo Last Correction (Ctrl+Z)");
    EXPECT_EQ(lines(menu), withUndo);
    EXPECT_EQ(menu.items()[5].systemImage, "arrow.uturn.backward");

    perform("Undo Last Correction");
    EXPECT_EQ(field->text(), "ghbdtn ");
    EXPECT_EQ(lines(menu), running);
}

TEST_F(MenuBarContentTest, ShortcutItemsNameTheChordsTheUserChose) {
    session.settings.convertLastWordChord.set({virtual_key::kSpace, modifier_flag::kCommand | modifier_flag::kShift});
    EXPECT_EQ(lines(menu)[3], "Convert Selected Text (Alt+Space)");
    EXPECT_EQ(lines(menu)[4], "Convert Last Word (Ctrl+Shift+Space)");
}

TEST_F(MenuBarContentTest, UndoItemLeavesWhenTheCorrectionExpires) {
    session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(0.2);
    ASSERT_EQ(menu.items().size(), 11u);
    session.wait(8.0);
    EXPECT_EQ(menu.items().size(), 10u);
}

TEST_F(MenuBarContentTest, ToggleAndPauseAreIndependentAndStored) {
    perform("Auto Switch");
    EXPECT_FALSE(session.settings.isAutoSwitchEnabled.get());
    EXPECT_FALSE(session.defaults.boolForKey("settings.autoSwitch"));
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::disabled);
    EXPECT_EQ(lines(menu)[0], "Auto Switch [off]");

    // Pausing while switched off still sets the pause; the status stays "disabled".
    perform("Pause for 5 Minutes");
    EXPECT_TRUE(session.settings.isPaused());
    EXPECT_TRUE(session.defaults.object("settings.pauseUntil"));
    EXPECT_EQ(session.app.operationalStatus().get(), OperationalStatus::disabled);
}

TEST_F(MenuBarContentTest, CommandsReachTheEngineTheWindowsAndQuit) {
    auto field = session.openField();
    field->setMarkedText("|ghbdtn|");
    perform("Convert Selected Text");
    EXPECT_EQ(field->text(), "привет");

    auto other = session.openField(SimulatedSession::kEditor);
    session.keyboard.type("ntrcn");
    perform("Convert Last Word");
    EXPECT_EQ(other->text(), "текст");

    perform("Settings\u2026");
    perform("About Tarvelo");
    EXPECT_EQ(windows.shown, (std::vector<AppWindow>{AppWindow::settings, AppWindow::about}));
    EXPECT_EQ(quits, 0);
    perform("Quit Tarvelo");
    EXPECT_EQ(quits, 1);
}

}  // namespace
}  // namespace tarvelo
