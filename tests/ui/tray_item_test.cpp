// SPDX-License-Identifier: GPL-3.0-or-later
// The status icon: its picture and tool tip follow the operational status, it is there exactly while
// the setting says so, and its menu lists the commands for the moment and carries them out.

#include <cmath>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSet>

#include <gtest/gtest.h>

#include "app/menu_bar_content.h"
#include "app/settings_navigation.h"
#include "app/ui/desktop_context.h"
#include "app/ui/tray_icon.h"
#include "app/ui/tray_item.h"
#include "no_icon_theme.h"
#include "platform/fake/recording_window_presenter.h"
#include "platform/fake/simulated_session.h"
#include "screenshot.h"
#include "store/defaults_keys.h"

namespace tarvelo::ui {
namespace {

class TrayItemTest : public ::testing::Test {
protected:
    // The menu as a person reads it: "---" for a separator, "[x]" or "[ ]" before a toggle, the shortcut
    // in brackets.
    std::vector<std::string> menuLines() const {
        std::vector<std::string> lines;
        for (const QAction* action : tray.menu()->actions()) {
            if (action->isSeparator()) {
                lines.emplace_back("---");
                continue;
            }
            std::string line;
            if (action->isCheckable()) line += action->isChecked() ? "[x] " : "[ ] ";
            line += action->text().toStdString();
            if (!action->shortcut().isEmpty()) line += " (" + action->shortcut().toString().toStdString() + ")";
            if (!action->isEnabled()) line += " disabled";
            lines.push_back(line);
        }
        return lines;
    }

    QAction* action(const std::string& text) const {
        for (QAction* candidate : tray.menu()->actions()) {
            if (candidate->text().toStdString() == text) return candidate;
        }
        return nullptr;
    }

    // Types a wrong-layout word into a new field and lets it be corrected; the field stays open.
    std::shared_ptr<FakeTextElement> correctAWord() {
        field_ = session.openField();
        session.keyboard.type("ghbdtn ");
        session.wait(0.2);
        return field_;
    }

    QImage iconPicture() const {
        return tray.icon().pixmap(QSize(22, 22), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    }

    testing::NoIconTheme noTheme_;
    SimulatedSession session;
    SettingsNavigation navigation;
    DesktopContext context{session.app, navigation, session.defaults, KeyLabels::pc()};
    RecordingWindowPresenter presenter;
    int quits = 0;
    MenuBarContent content{session.app, presenter, KeyLabels::pc(), [this] { ++quits; }};
    TrayItem tray{context, content};

private:
    std::shared_ptr<FakeTextElement> field_;
};

const std::vector<std::string> kRunningMenu = {
    "[x] Auto Switch",
    "Pause for 5 Minutes",
    "---",
    "Convert Selected Text (Alt+Space)",
    "Convert Last Word (Ctrl+Alt+Space)",
    "---",
    "Settings\u2026",
    "---",
    "About Tarvelo",
    "Quit Tarvelo (Ctrl+Q)",
};

TEST_F(TrayItemTest, IconAndToolTipFollowTheStatus) {
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Tarvelo: Auto Switch is active"));
    const QImage active = iconPicture();
    ASSERT_FALSE(active.isNull());

    struct Case {
        const char* name;
        std::function<void(SimulatedSession&)> change;
        const char* toolTip;
    };
    const std::vector<Case> cases = {
        {"paused", [](SimulatedSession& s) { s.settings.pause(); }, "Tarvelo: Auto Switch is paused"},
        {"off", [](SimulatedSession& s) { s.settings.isAutoSwitchEnabled.set(false); }, "Tarvelo: Auto Switch is off"},
        {"permission withdrawn",
         [](SimulatedSession& s) {
             s.trust.setAccessibility(false);
             s.permissions.refresh();
         },
         "Tarvelo: Permissions required"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.change(session);
        EXPECT_EQ(tray.toolTip(), QString::fromUtf8(c.toolTip));
        EXPECT_NE(iconPicture(), active);
        // Back to normal.
        session.settings.resume();
        session.settings.isAutoSwitchEnabled.set(true);
        session.trust.setAccessibility(true);
        session.permissions.refresh();
        EXPECT_EQ(tray.toolTip(), QStringLiteral("Tarvelo: Auto Switch is active"));
        EXPECT_EQ(iconPicture(), active);
    }

    // A pause that runs out is noticed by the status tick.
    session.settings.pause();
    session.wait(301);
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Tarvelo: Auto Switch is active"));

    // The tick publishes the same status every second; the icon is made only when it changes, since
    // every icon fills the pixmap cache anew as the panel draws it.
    const qint64 shown = tray.icon().cacheKey();
    session.wait(5);
    EXPECT_EQ(tray.icon().cacheKey(), shown);
}

// Installed, each status icon is published by its own name, for the panel to draw in its colours; the
// picture Tarvelo paints itself shows on a light panel as on a dark one, and where the panel's colour
// is known the symbol takes the ink that stands out from it.
TEST(TrayIcon, NamedWhereInstalledAndVisibleOnLightAndDarkPanels) {
    const QStringList installed = {QStringLiteral(TARVELO_ICON_THEME_DIR)};
    QSet<QString> names;
    for (const OperationalStatus status :
         {OperationalStatus::active, OperationalStatus::paused, OperationalStatus::disabled,
          OperationalStatus::permissionsRequired, OperationalStatus::monitorUnavailable}) {
        EXPECT_EQ(trayIcon(status, installed).name(), trayIconName(status));
        EXPECT_TRUE(trayIcon(status, {QStringLiteral("/nonexistent")}).name().isEmpty());
        EXPECT_EQ(trayIcon(status, installed, QColor(Qt::white)).name(), trayIconName(status));
        names.insert(trayIconName(status));
    }
    EXPECT_EQ(names.size(), 4);  // the two states that need the user share one

    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    constexpr int kSide = 22;
    // How many of the icon's pixels, drawn on `panel`, stand `ratio`:1 apart from it.
    const auto distinctPixels = [&](const QIcon& icon, const QColor& panel, double ratio, QImage& shown) {
        shown = QImage(kSide, kSide, QImage::Format_ARGB32);
        shown.fill(panel);
        QPainter onPanel(&shown);
        onPanel.drawPixmap(0, 0, icon.pixmap(kSide, kSide));
        onPanel.end();
        int distinct = 0;
        const double panelLight = luminance(panel);
        for (int py = 0; py < kSide; ++py) {
            for (int px = 0; px < kSide; ++px) {
                const double light = luminance(shown.pixelColor(px, py));
                if ((std::max(light, panelLight) + 0.05) / (std::min(light, panelLight) + 0.05) >= ratio) ++distinct;
            }
        }
        return distinct;
    };
    testing::NoIconTheme noTheme;
    const QColor panels[] = {QColor(0xf5, 0xf5, 0xf5), QColor(0x20, 0x20, 0x24), QColor(0x9a, 0x9a, 0xa0),
                             QColor(0x3d, 0x84, 0xc6)};
    for (const QColor& panel : panels) {
        QPixmap strip(kSide * 4 + 5 * 6, kSide * 2 + 18);
        strip.fill(panel);
        QPainter painter(&strip);
        int x = 6;
        for (const OperationalStatus status : {OperationalStatus::active, OperationalStatus::paused,
                                               OperationalStatus::disabled, OperationalStatus::permissionsRequired}) {
            SCOPED_TRACE(trayIconName(status).toStdString() + " on " + panel.name().toStdString());
            QImage shown;
            // Without the panel's colour: enough of the symbol stands 3:1 apart to make out its shape.
            if (panel == panels[0] || panel == panels[1]) {
                EXPECT_GE(distinctPixels(trayIcon(status), panel, 3.0, shown), 20);
                painter.drawImage(x, 6, shown);
            }
            // With it, the symbol itself stands 3:1 apart on any panel, mid-grey and coloured ones too,
            // as a graphic must to be made out (WCAG's non-text contrast).
            EXPECT_GE(distinctPixels(trayIcon(status, {}, panel), panel, 3.0, shown), 20);
            painter.drawImage(x, kSide + 12, shown);
            x += kSide + 6;
        }
        painter.end();
        if (panel != panels[0] && panel != panels[1]) continue;
        QLabel label;
        label.setPixmap(strip);
        label.resize(strip.size());
        label.show();
        EXPECT_FALSE(testing::saveScreenshot(
                         label, panel.lightnessF() > 0.5 ? QStringLiteral("tray_icons_light_panel")
                                                         : QStringLiteral("tray_icons_dark_panel"))
                         .isEmpty());
    }
}

TEST_F(TrayItemTest, ShownExactlyWhileTheSettingIsOn) {
    EXPECT_TRUE(tray.isVisible());
    session.settings.showMenuBarIcon.set(false);
    EXPECT_FALSE(tray.isVisible());
    session.settings.showMenuBarIcon.set(true);
    EXPECT_TRUE(tray.isVisible());

    session.settings.showMenuBarIcon.set(false);
    TrayItem hiddenFromTheStart(context, content);
    EXPECT_FALSE(hiddenFromTheStart.isVisible());
}

TEST_F(TrayItemTest, MenuListsTheCommandsForTheMoment) {
    EXPECT_EQ(menuLines(), kRunningMenu);
    tray.menu()->popup(QPoint(40, 40));
    EXPECT_FALSE(testing::saveScreenshot(*tray.menu(), QStringLiteral("tray_menu_running")).isEmpty());
    tray.menu()->hide();

    session.settings.pause();
    std::vector<std::string> paused = kRunningMenu;
    paused[1] = "Resume Auto Switch";
    EXPECT_EQ(menuLines(), paused);
    tray.menu()->popup(QPoint(40, 40));
    EXPECT_FALSE(testing::saveScreenshot(*tray.menu(), QStringLiteral("tray_menu_paused")).isEmpty());
    tray.menu()->hide();
    session.settings.resume();

    session.settings.isAutoSwitchEnabled.set(false);
    std::vector<std::string> off = kRunningMenu;
    off[0] = "[ ] Auto Switch";
    EXPECT_EQ(menuLines(), off);
    session.settings.isAutoSwitchEnabled.set(true);

    correctAWord();
    ASSERT_TRUE(session.engine().lastCorrection().get());
    std::vector<std::string> undoable = kRunningMenu;
    undoable.insert(undoable.begin() + 5, "Undo Last Correction (Ctrl+Z)");
    EXPECT_EQ(menuLines(), undoable);
    EXPECT_FALSE(action("Undo Last Correction")->icon().isNull());
    tray.menu()->popup(QPoint(40, 40));
    EXPECT_FALSE(testing::saveScreenshot(*tray.menu(), QStringLiteral("tray_menu_after_correction")).isEmpty());
    tray.menu()->hide();

    // The undo item leaves once the correction can no longer be undone.
    session.wait(8.0);
    EXPECT_EQ(menuLines(), kRunningMenu);
}

TEST_F(TrayItemTest, MenuCommandsReachTheApplication) {
    action("Pause for 5 Minutes")->trigger();
    ASSERT_TRUE(session.settings.pauseUntil.get());
    EXPECT_DOUBLE_EQ(*session.settings.pauseUntil.get(), session.clock.now() + 300);
    action("Resume Auto Switch")->trigger();
    EXPECT_FALSE(session.settings.pauseUntil.get());
    EXPECT_FALSE(session.settings.isPaused());

    action("Auto Switch")->trigger();
    EXPECT_FALSE(session.settings.isAutoSwitchEnabled.get());
    ASSERT_TRUE(session.defaults.hasStoredValue(defaults_keys::autoSwitch));
    EXPECT_FALSE(session.defaults.boolForKey(defaults_keys::autoSwitch));
    EXPECT_EQ(tray.toolTip(), QStringLiteral("Tarvelo: Auto Switch is off"));

    action("Settings\u2026")->trigger();
    action("About Tarvelo")->trigger();
    EXPECT_EQ(presenter.shown, (std::vector<AppWindow>{AppWindow::settings, AppWindow::about}));
    EXPECT_EQ(quits, 0);
    action("Quit Tarvelo")->trigger();
    EXPECT_EQ(quits, 1);

    // The replaced actions are released by the event loop; the menu keeps only its own action besides.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(tray.menu()->findChildren<QAction*>().size(), tray.menu()->actions().size() + 1);
}

TEST_F(TrayItemTest, UndoFromTheMenuRestoresTheWord) {
    const auto field = correctAWord();
    ASSERT_EQ(field->text(), "привет ");
    action("Undo Last Correction")->trigger();
    EXPECT_EQ(field->text(), "ghbdtn ");
    EXPECT_FALSE(session.engine().lastCorrection().get());
    EXPECT_EQ(action("Undo Last Correction"), nullptr);
    EXPECT_EQ(session.exceptions.words().get(), std::vector<std::string>{"ghbdtn"});
}

}  // namespace
}  // namespace tarvelo::ui
