// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window: the sidebar and the navigation it shares with the menu, the detail pane's frame,
// and the pages being built afresh on every change of section.

#include <functional>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>

#include "app/ui/applications_settings_view.h"
#include "app/ui/auto_switch_settings_view.h"
#include "app/ui/exceptions_settings_view.h"
#include "app/ui/general_settings_view.h"
#include "app/ui/hotkeys_settings_view.h"
#include "app/ui/languages_settings_view.h"
#include "app/ui/privacy_settings_view.h"
#include "app/ui/statistics_settings_view.h"
#include "settings_window_harness.h"

namespace tarvelo::ui::testing {
namespace {

class SettingsWindowTest : public SettingsWindowHarness {
protected:
    QString sectionTitle() const { return window->findChild<QLabel*>("sectionTitle")->text(); }
    int sidebarRow() const { return window->findChild<QListWidget*>("sidebar")->currentRow(); }
};

TEST_F(SettingsWindowTest, OpensOnGeneralAtItsSizeWithTheEightSectionsInOrder) {
    SettingsWindow& shown = open();

    EXPECT_EQ(shown.windowTitle(), "Tarvelo Settings");
    EXPECT_EQ(shown.size(), QSize(820, 590));
    EXPECT_EQ(shown.minimumSize(), QSize(760, 520));
    EXPECT_NE(dynamic_cast<GeneralSettingsView*>(shown.currentPage()), nullptr);
    EXPECT_EQ(sectionTitle(), "General");
    EXPECT_EQ(sidebarRow(), 0);

    auto* sidebar = shown.findChild<QListWidget*>("sidebar");
    QStringList titles;
    for (int row = 0; row < sidebar->count(); ++row) titles << sidebar->item(row)->text();
    EXPECT_EQ(titles, QStringList({"General", "Auto Switch", "Hotkeys", "Languages", "Exceptions", "Applications",
                                   "Privacy", "Statistics"}));
    EXPECT_GE(sidebar->parentWidget()->width(), 180);
    EXPECT_LE(sidebar->parentWidget()->width(), 220);
}

TEST_F(SettingsWindowTest, EverySectionOpensItsPageFromTheSidebar) {
    const struct {
        SettingsSection section;
        QString title;
        QString screenshot;
        std::function<bool(QWidget*)> isPage;
    } cases[] = {
        {SettingsSection::autoSwitch, "Auto Switch", "settings_auto_switch",
         [](QWidget* page) { return dynamic_cast<AutoSwitchSettingsView*>(page) != nullptr; }},
        {SettingsSection::hotkeys, "Hotkeys", "settings_hotkeys",
         [](QWidget* page) { return dynamic_cast<HotkeysSettingsView*>(page) != nullptr; }},
        {SettingsSection::languages, "Languages", "settings_languages",
         [](QWidget* page) { return dynamic_cast<LanguagesSettingsView*>(page) != nullptr; }},
        {SettingsSection::exceptions, "Exceptions", "settings_exceptions",
         [](QWidget* page) { return dynamic_cast<ExceptionsSettingsView*>(page) != nullptr; }},
        {SettingsSection::applications, "Applications", "settings_applications",
         [](QWidget* page) { return dynamic_cast<ApplicationsSettingsView*>(page) != nullptr; }},
        {SettingsSection::privacy, "Privacy", "settings_privacy",
         [](QWidget* page) { return dynamic_cast<PrivacySettingsView*>(page) != nullptr; }},
        {SettingsSection::statistics, "Statistics", "settings_statistics",
         [](QWidget* page) { return dynamic_cast<StatisticsSettingsView*>(page) != nullptr; }},
        {SettingsSection::general, "General", "settings_general",
         [](QWidget* page) { return dynamic_cast<GeneralSettingsView*>(page) != nullptr; }},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.title.toStdString());
        select<QWidget>(expected.section);
        EXPECT_EQ(navigation.requestedSection.get(), expected.section);
        EXPECT_TRUE(expected.isPage(window->currentPage()));
        EXPECT_EQ(sectionTitle(), expected.title);
        EXPECT_EQ(sidebarRow(), static_cast<int>(expected.section));
        screenshot(expected.screenshot);
    }
}

TEST_F(SettingsWindowTest, FollowsTheNavigationWhenAnotherPartOfTheApplicationChangesIt) {
    open();
    navigation.requestedSection.set(SettingsSection::privacy);

    EXPECT_NE(dynamic_cast<PrivacySettingsView*>(window->currentPage()), nullptr);
    EXPECT_EQ(sidebarRow(), static_cast<int>(SettingsSection::privacy));
    EXPECT_EQ(sectionTitle(), "Privacy");
}

TEST_F(SettingsWindowTest, ReopensOnTheSectionLastShown) {
    select<StatisticsSettingsView>(SettingsSection::statistics);
    window->close();
    EXPECT_FALSE(window->isVisible());

    open();
    EXPECT_NE(dynamic_cast<StatisticsSettingsView*>(window->currentPage()), nullptr);
    EXPECT_EQ(sidebarRow(), static_cast<int>(SettingsSection::statistics));

    // A window built anew over the same navigation starts there too.
    window.reset();
    open();
    EXPECT_NE(dynamic_cast<StatisticsSettingsView*>(window->currentPage()), nullptr);
    EXPECT_EQ(sectionTitle(), "Statistics");
}

TEST_F(SettingsWindowTest, LeavingASectionDropsWhatWasTypedOrBeingConfirmedOnIt) {
    select<ExceptionsSettingsView>(SettingsSection::exceptions);
    QTest::keyClicks(window->findChild<QLineEdit*>("newWordField"), "draft");
    select<GeneralSettingsView>(SettingsSection::general);
    select<ExceptionsSettingsView>(SettingsSection::exceptions);
    EXPECT_EQ(window->findChild<QLineEdit*>("newWordField")->text(), "");
    EXPECT_TRUE(session.exceptions.words().get().empty());

    select<ApplicationsSettingsView>(SettingsSection::applications);
    QTest::keyClicks(window->findChild<QLineEdit*>("bundleIdentifierField"), "org.draft");
    select<ExceptionsSettingsView>(SettingsSection::exceptions);
    select<ApplicationsSettingsView>(SettingsSection::applications);
    EXPECT_EQ(window->findChild<QLineEdit*>("bundleIdentifierField")->text(), "");

    session.statistics.recordCorrection(ConversionDirection::englishToRussian);
    auto* statistics = select<StatisticsSettingsView>(SettingsSection::statistics);
    ASSERT_NE(statistics, nullptr);
    click(window->findChild<QPushButton*>("resetButton"));
    ASSERT_NE(statistics->resetAlert(), nullptr);
    select<GeneralSettingsView>(SettingsSection::general);
    EXPECT_EQ(window->findChild<QMessageBox*>(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Nothing was confirmed.
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
}

TEST_F(SettingsWindowTest, PagesKeepALeftAlignedColumnOfLimitedWidthInsideThePadding) {
    open();
    window->resize(1300, 700);
    QApplication::processEvents();
    auto* detail = window->findChild<QScrollArea*>("detail");
    QWidget* page = window->currentPage();
    const QPoint topLeft = page->mapTo(detail->widget(), QPoint(0, 0));

    EXPECT_LE(page->width(), SettingsWindow::kColumnMaximumWidth);
    EXPECT_EQ(topLeft.x(), SettingsWindow::kDetailPadding);
    EXPECT_LT(topLeft.x() + page->width(), detail->viewport()->width() - SettingsWindow::kDetailPadding);
    screenshot("settings_general_wide");
}

}  // namespace
}  // namespace tarvelo::ui::testing
