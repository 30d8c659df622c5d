// SPDX-License-Identifier: GPL-3.0-or-later
// The Privacy and Statistics pages: the permissions and the monitor's status as they change, what the
// desktop keeps from Tarvelo, and the counts with their confirmed reset.

#include <string>
#include <vector>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/settings_pages.h"
#include "app/ui/palette.h"
#include "app/ui/permission_row.h"
#include "app/ui/privacy_settings_view.h"
#include "app/ui/statistic_value.h"
#include "app/ui/statistics_settings_view.h"
#include "app/ui/symbol_label.h"
#include "app/ui/window_colors.h"
#include "settings_window_harness.h"

namespace tarvelo::ui::testing {
namespace {

class PrivacyPageTest : public SettingsWindowHarness {
protected:
    PrivacySettingsView* page() { return select<PrivacySettingsView>(SettingsSection::privacy); }
    SymbolLabel* status() const { return window->findChild<SymbolLabel*>("statusLabel"); }
    PermissionRow* row(const char* name) const { return window->findChild<PermissionRow*>(name); }
};

TEST_F(PrivacyPageTest, StatusRowIsGreenOnlyWhileCorrectionIsActive) {
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(status()->text(), "Auto Switch is active");
    EXPECT_EQ(status()->symbol(), "character.cursor.ibeam");
    EXPECT_EQ(status()->color(), window_colors::goodText(window->palette()));

    session.settings.pause();
    EXPECT_EQ(status()->text(), "Auto Switch is paused");
    EXPECT_EQ(status()->symbol(), "pause.circle");
    EXPECT_EQ(status()->color(), window_colors::warningText(window->palette()));
    screenshot("settings_privacy_paused");

    session.settings.resume();
    session.settings.isAutoSwitchEnabled.set(false);
    EXPECT_EQ(status()->text(), "Auto Switch is off");
    EXPECT_EQ(status()->color(), window_colors::warningText(window->palette()));

    session.settings.isAutoSwitchEnabled.set(true);
    EXPECT_EQ(status()->color(), window_colors::goodText(window->palette()));
}

TEST_F(PrivacyPageTest, RestartMonitorBringsBackAMonitorThatFailedToStart) {
    ASSERT_NE(page(), nullptr);
    session.keyboard.setInstallFails(true);
    session.monitor().restartIfPossible();
    EXPECT_EQ(status()->text(), "Input monitor is unavailable");
    EXPECT_EQ(status()->color(), window_colors::warningText(window->palette()));

    session.keyboard.setInstallFails(false);
    click(window->findChild<QPushButton*>("restartMonitorButton"));
    EXPECT_TRUE(session.monitor().isRunning().get());
    EXPECT_EQ(status()->text(), "Auto Switch is active");
    EXPECT_EQ(status()->color(), window_colors::goodText(window->palette()));
}

TEST_F(PrivacyPageTest, PermissionRowsFollowTheGrantsAndAskForTheMissingOne) {
    session.trust.setAccessibility(false);
    session.permissions.refresh();
    ASSERT_NE(page(), nullptr);
    EXPECT_FALSE(row("accessibilityPermission")->isGranted());
    EXPECT_TRUE(row("inputMonitoringPermission")->isGranted());
    EXPECT_EQ(status()->text(), "Permissions required");
    EXPECT_EQ(status()->color(), window_colors::warningText(window->palette()));
    screenshot("settings_privacy_permission_missing");

    QPushButton* ask = nullptr;
    for (QPushButton* button : row("accessibilityPermission")->findChildren<QPushButton*>()) {
        if (button->isVisibleTo(window.get())) ask = button;
    }
    click(ask);
    EXPECT_EQ(session.trust.accessibilityPrompts(), 1);

    // Granted in the desktop's settings; the next refresh tick shows it.
    session.trust.setAccessibility(true);
    session.wait(PermissionManager::kRefreshInterval);
    EXPECT_TRUE(row("accessibilityPermission")->isGranted());
    EXPECT_EQ(status()->text(), "Auto Switch is active");
}

TEST_F(PrivacyPageTest, SaysWhatThisDesktopKeepsFromTarvelo) {
    ASSERT_NE(page(), nullptr);
    EXPECT_TRUE(allVisible<SymbolLabel>("desktopLimitation").isEmpty());

    context.waylandSession = true;
    context.unavailableChords = [] { return std::vector<std::string>{"Alt+Space"}; };
    ASSERT_NE(select<QWidget>(SettingsSection::general), nullptr);
    ASSERT_NE(page(), nullptr);
    QStringList shown;
    for (SymbolLabel* line : allVisible<SymbolLabel>("desktopLimitation")) {
        EXPECT_EQ(line->color(), window_colors::warningText(window->palette()));
        shown << line->text();
    }
    QStringList expected;
    for (const std::string& line : settings_pages::desktopLimitations(true, {"Alt+Space"})) {
        expected << QString::fromStdString(line);
    }
    EXPECT_EQ(shown, expected);
    screenshot("settings_privacy_limitations");

    // The chord is released once the monitor grabs it again; the next status tick drops its line.
    context.unavailableChords = [] { return std::vector<std::string>(); };
    session.wait(AppState::kStatusInterval + 0.1);
    EXPECT_EQ(allVisible<SymbolLabel>("desktopLimitation").size(), 1);
}

TEST_F(PrivacyPageTest, SaysWhileTheInputMethodTarveloWorksThroughDoesNotRun) {
    for (const auto source : {settings_pages::KeyboardSource::ibus, settings_pages::KeyboardSource::fcitx5}) {
        bool running = false;
        context.inputMethod = true;
        context.keyboardSource = source;
        context.inputMethodRunning = [&running] { return running; };
        ASSERT_NE(select<QWidget>(SettingsSection::general), nullptr);
        ASSERT_NE(page(), nullptr);
        const QList<SymbolLabel*> lines = allVisible<SymbolLabel>("desktopLimitation");
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines.front()->text(), QString::fromStdString(settings_pages::inputMethodAbsent(source)));

        // The input method has started: the next status tick drops the line.
        running = true;
        session.wait(AppState::kStatusInterval + 0.1);
        EXPECT_TRUE(allVisible<SymbolLabel>("desktopLimitation").isEmpty());
    }
}

// GNOME's input sources as the offer sees them: Tarvelo's engines listed or not, and whether GNOME's
// settings take a change.
struct PretendInputSources {
    bool usesTarvelo = false;
    bool refuses = false;
    int writes = 0;
    InputSourceOffer offer() {
        const auto change = [this](bool uses) {
            ++writes;
            if (refuses) return false;
            usesTarvelo = uses;
            return true;
        };
        return {[this] { return usesTarvelo; }, [change] { return change(true); }, [change] { return change(false); }};
    }
};

TEST_F(PrivacyPageTest, OffersTarvelosInputSourcesOnGnomeAndPutsTheKeyboardsBack) {
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(window->findChild<QWidget*>("inputSourceOffer"), nullptr);

    PretendInputSources sources;
    context.gnomeInputSources = sources.offer();
    window.reset();
    ASSERT_NE(page(), nullptr);
    auto* button = window->findChild<QPushButton*>("inputSourceButton");
    auto* text = window->findChild<QLabel*>("inputSourceText");
    ASSERT_NE(button, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(button->text(), "Use Tarvelo\u2019s Input Sources");
    const auto alert = [this] { return window->findChild<QMessageBox*>("inputSourceAlert"); };
    const auto answer = [&](bool confirm) {
        QMessageBox* shown = alert();
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible());
        QAbstractButton* chosen = confirm ? shown->findChild<QPushButton*>("confirmInputSourceButton")
                                          : shown->escapeButton();
        click(qobject_cast<QPushButton*>(chosen));
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    // Nothing is written before the user confirms, nor when the user cancels.
    click(button);
    EXPECT_EQ(sources.writes, 0);
    EXPECT_EQ(alert()->text(), "Use Tarvelo\u2019s input sources?");
    screenshot("settings_privacy_input_sources");
    answer(false);
    EXPECT_EQ(sources.writes, 0);
    EXPECT_FALSE(sources.usesTarvelo);

    click(button);
    answer(true);
    EXPECT_TRUE(sources.usesTarvelo);
    EXPECT_EQ(button->text(), "Restore Keyboards");
    EXPECT_TRUE(text->text().startsWith("English (Tarvelo) and Russian (Tarvelo) are among your input sources"));

    // A change GNOME's settings refuse is said so, and the row keeps what the sources are.
    sources.refuses = true;
    click(button);
    EXPECT_EQ(alert()->text(), "Put English (US) and Russian back?");
    answer(true);
    EXPECT_EQ(sources.writes, 2);
    EXPECT_TRUE(sources.usesTarvelo);
    EXPECT_EQ(button->text(), "Restore Keyboards");
    EXPECT_TRUE(text->text().endsWith("GNOME\u2019s settings did not take the change."));

    sources.refuses = false;
    click(button);
    answer(true);
    EXPECT_FALSE(sources.usesTarvelo);
    EXPECT_EQ(button->text(), "Use Tarvelo\u2019s Input Sources");
    EXPECT_FALSE(text->text().contains("did not take"));
}

class StatisticsPageTest : public SettingsWindowHarness {
protected:
    StatisticsSettingsView* page() { return select<StatisticsSettingsView>(SettingsSection::statistics); }

    // Today's and this week's figures, then the three direction labels.
    QStringList figures() const {
        return {window->findChild<StatisticValue*>("todayValue")->valueText(),
                window->findChild<StatisticValue*>("thisWeekValue")->valueText(),
                window->findChild<SymbolLabel*>("englishToRussianLabel")->text(),
                window->findChild<SymbolLabel*>("russianToEnglishLabel")->text(),
                window->findChild<SymbolLabel*>("undoneLabel")->text()};
    }

    void recordSomeCorrections() {
        session.statistics.recordCorrection(ConversionDirection::englishToRussian);
        session.statistics.recordCorrection(ConversionDirection::englishToRussian);
        session.statistics.recordCorrection(ConversionDirection::russianToEnglish);
        session.statistics.recordUndo();
    }

    QPushButton* alertButton(QMessageBox* alert, const char* name) const {
        return alert->findChild<QPushButton*>(name);
    }
};

TEST_F(StatisticsPageTest, ShowsZerosThenTheSessionsCountsAsTheyHappen) {
    ASSERT_NE(page(), nullptr);
    EXPECT_EQ(figures(), QStringList({"0", "0", "0  EN → RU", "0  RU → EN", "0  Undone"}));

    recordSomeCorrections();
    EXPECT_EQ(figures(), QStringList({"3", "3", "2  EN → RU", "1  RU → EN", "1  Undone"}));

    // A correction typed on the pretend desktop counts too.
    session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(0.2);
    EXPECT_EQ(figures(), QStringList({"4", "4", "3  EN → RU", "1  RU → EN", "1  Undone"}));
}

TEST_F(StatisticsPageTest, ResetAsksFirstAndOnlyResetEmptiesTheCounts) {
    recordSomeCorrections();
    StatisticsSettingsView* statistics = page();
    ASSERT_NE(statistics, nullptr);
    EXPECT_EQ(statistics->resetAlert(), nullptr);

    click(window->findChild<QPushButton*>("resetButton"));
    QMessageBox* alert = statistics->resetAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
    EXPECT_EQ(alert->windowTitle(), "Reset local statistics?");
    EXPECT_EQ(alert->text(), "Reset local statistics?");
    EXPECT_EQ(alert->informativeText(), "This removes aggregate counts. Exceptions and settings are not changed.");
    EXPECT_EQ(alert->buttonRole(alertButton(alert, "confirmResetButton")), QMessageBox::DestructiveRole);
    EXPECT_EQ(alertButton(alert, "confirmResetButton")->text(), "Reset");
    EXPECT_EQ(alert->buttonRole(alertButton(alert, "cancelResetButton")), QMessageBox::RejectRole);
    EXPECT_EQ(alertButton(alert, "cancelResetButton")->text(), "Cancel");
    EXPECT_FALSE(saveScreenshot(*alert, "settings_statistics_reset_alert").isEmpty());

    click(alertButton(alert, "cancelResetButton"));
    EXPECT_FALSE(alert->isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(statistics->resetAlert(), nullptr);
    EXPECT_EQ(figures(), QStringList({"3", "3", "2  EN → RU", "1  RU → EN", "1  Undone"}));
    EXPECT_FALSE(session.statistics.days().get().empty());

    click(window->findChild<QPushButton*>("resetButton"));
    alert = statistics->resetAlert();
    ASSERT_NE(alert, nullptr);
    click(alertButton(alert, "confirmResetButton"));
    EXPECT_TRUE(session.statistics.days().get().empty());
    EXPECT_EQ(figures(), QStringList({"0", "0", "0  EN → RU", "0  RU → EN", "0  Undone"}));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(statistics->resetAlert(), nullptr);
}

}  // namespace
}  // namespace tarvelo::ui::testing
