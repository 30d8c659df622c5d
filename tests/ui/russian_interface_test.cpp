// SPDX-License-Identifier: GPL-3.0-or-later
// The interface in Russian: every window, page, step, alert and menu, and the notification, read with
// the Russian catalog, holds no English left untranslated and no placeholder left unfilled; counted
// sentences take the Russian plural form the number asks for. Each page leaves a "ru_" screenshot
// beside the English one.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include "app/menu_bar_content.h"
#include "app/ui/about_window.h"
#include "app/ui/onboarding_window.h"
#include "app/ui/statistic_value.h"
#include "app/ui/tray_item.h"
#include "no_icon_theme.h"
#include "platform/fake/recording_window_presenter.h"
#include "russian_interface.h"
#include "services/notification_service.h"
#include "settings_window_harness.h"

// Failure messages list texts as text.
inline void PrintTo(const QStringList& texts, std::ostream* out) { *out << '"' << texts.join("\" \"").toStdString() << '"'; }

namespace tarvelo::ui {
namespace {

// What stays in Latin letters in the Russian interface: names of products, keys, layouts and desktop
// technologies, and the example of a wrong-layout word.
const QSet<QString> kLatinNames = {
    "Tarvelo", "Brinmoor", "brinmoor", "dev",   "EN",      "RU",      "QWERTY",   "qwerty", "ghbdtn",
    "Ctrl",    "Alt",      "Space",    "Shift", "Caps",    "Lock",    "Linux",    "Wayland", "XWayland",
    "GNOME",   "Terminal", "Konsole",  "xterm", "Visual",  "Studio",  "Code",     "PyCharm", "org",
    "gnome",   "TextEditor", "https", "tarvelo", "GNU", "GPL",
    // Tarvelo's input sources as GNOME lists them: "English (Tarvelo)", "Russian (Tarvelo)".
    "English", "Russian",
    // The input methods, and the keyboard fcitx5 names "English (US)".
    "IBus", "fcitx", "US",
};

// Every text the user can see or hear from `root` and what it holds: window titles, labels, buttons,
// placeholders, list rows, menu items, tool tips and accessible names and descriptions.
QStringList textsOf(QWidget& root) {
    QStringList texts;
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* widget : widgets) {
        if (widget != &root && !widget->isVisibleTo(&root)) continue;
        if (widget->isWindow()) texts << widget->windowTitle();
        texts << widget->accessibleName() << widget->accessibleDescription() << widget->toolTip();
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
        if (auto* field = qobject_cast<QLineEdit*>(widget)) texts << field->placeholderText();
        if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
        }
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            for (const QAction* action : menu->actions()) texts << action->text();
        }
    }
    texts.removeAll(QString());
    return texts;
}

// The texts that still read as English (a Latin word that is no name) or show a placeholder.
QStringList untranslated(const QStringList& texts) {
    static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    QStringList found;
    for (const QString& text : texts) {
        bool english = text.contains(QLatin1Char('{'));
        for (auto match = latinWord.globalMatch(text); match.hasNext() && !english;) {
            english = !kLatinNames.contains(match.next().captured());
        }
        if (english) found << text;
    }
    return found;
}

class RussianInterfaceTest : public testing::SettingsWindowHarness {
protected:
    void expectRussian(QWidget& root, const QString& screenshotName) {
        QApplication::processEvents();
        const QStringList texts = textsOf(root);
        EXPECT_FALSE(texts.isEmpty()) << screenshotName.toStdString();
        EXPECT_EQ(untranslated(texts), QStringList()) << screenshotName.toStdString();
        EXPECT_FALSE(testing::saveScreenshot(root, QStringLiteral("ru_") + screenshotName).isEmpty());
    }

    testing::NoIconTheme noTheme_;
    testing::RussianInterface russian_;
};

TEST_F(RussianInterfaceTest, EverySettingsPageAndTheResetAlert) {
    // Rows and warnings that only show with something in them.
    session.exceptions.add("ghbdtn");
    session.applicationFilter.add("org.gnome.TextEditor");
    session.statistics.recordCorrection(ConversionDirection::englishToRussian);
    context.waylandSession = true;
    context.unavailableChords = [] { return std::vector<std::string>{"Alt+Space"}; };
    context.gnomeInputSources = InputSourceOffer{[] { return false; }, [] { return true; }, [] { return true; }};
    context.knowsFocusedApplication = [] { return false; };
    session.settings.pause();

    open();
    const char* names[] = {"general",    "auto_switch",  "hotkeys", "languages",
                           "exceptions", "applications", "privacy", "statistics"};
    for (const SettingsSection section : kAllSettingsSections) {
        navigation.requestedSection.set(section);
        expectRussian(*window, QStringLiteral("settings_%1").arg(QString::fromLatin1(names[static_cast<int>(section)])));
    }

    click(visible<QPushButton>("resetButton"));
    auto* alert = window->findChild<QMessageBox*>("resetAlert");
    ASSERT_NE(alert, nullptr);
    expectRussian(*alert, QStringLiteral("statistics_reset_alert"));
    alert->reject();
}

// Where an input method hands Tarvelo the keys, the Hotkeys and Privacy pages say so in their own words.
TEST_F(RussianInterfaceTest, TheInputMethodSessionsPages) {
    context.keyLabels = KeyLabels::pcInputMethod();
    context.inputMethod = true;
    context.inputMethodRunning = [] { return false; };
    open();
    for (const auto source : {settings_pages::KeyboardSource::ibus, settings_pages::KeyboardSource::fcitx5}) {
        context.keyboardSource = source;
        const QString name = source == settings_pages::KeyboardSource::ibus ? "ibus" : "fcitx5";
        navigation.requestedSection.set(SettingsSection::hotkeys);
        expectRussian(*window, QStringLiteral("settings_hotkeys_%1").arg(name));
        navigation.requestedSection.set(SettingsSection::privacy);
        expectRussian(*window, QStringLiteral("settings_privacy_%1").arg(name));
    }
}

TEST_F(RussianInterfaceTest, OnboardingStepsInBothReadyForms) {
    context.gnomeInputSources = InputSourceOffer{[] { return false; }, [] { return true; }, [] { return true; }};
    for (const bool granted : {true, false}) {
        session.trust.setAccessibility(granted);
        session.trust.setListenEvents(granted);
        session.permissions.refresh();
        OnboardingWindow onboarding(context);
        onboarding.show();
        for (int step = 0; step < 3; ++step) {
            const QString name = QStringLiteral("onboarding_%1%2").arg(step + 1).arg(granted ? "" : "_limited");
            expectRussian(onboarding, name);
            QTest::mouseClick(onboarding.findChild<QPushButton*>(QStringLiteral("primaryButton")), Qt::LeftButton);
        }
    }
}

TEST_F(RussianInterfaceTest, AboutWindowTrayMenuAndNotification) {
    AboutWindow about([](const QUrl&) {});
    about.show();
    expectRussian(about, QStringLiteral("about"));

    RecordingWindowPresenter presenter;
    MenuBarContent content(session.app, presenter, KeyLabels::pc(), [] {});
    TrayItem tray(context, content);
    auto field = session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(0.2);
    tray.menu()->popup(QPoint(0, 0));
    QStringList menu = textsOf(*tray.menu());
    menu << tray.toolTip();
    EXPECT_EQ(untranslated(menu), QStringList());
    EXPECT_TRUE(menu.contains(QString::fromUtf8("Отменить последнее исправление"))) << menu.join('|').toStdString();
    EXPECT_FALSE(testing::saveScreenshot(*tray.menu(), QStringLiteral("ru_tray_menu")).isEmpty());
    tray.menu()->hide();

    session.settings.showNotification.set(true);
    NotificationService notifications(session.sound, session.notificationCenter, KeyLabels::pc().undoInSentence);
    notifications.correctionCompleted(session.settings);
    ASSERT_FALSE(session.notificationCenter.posted().empty());
    const UserNotification& posted = session.notificationCenter.posted().back();
    EXPECT_EQ(posted.title, "Раскладка исправлена");
    EXPECT_EQ(posted.body, "Последнее слово исправлено. Чтобы отменить, нажмите Ctrl+Z.");
}

TEST_F(RussianInterfaceTest, CountedSentencesTakeTheRussianPluralForm) {
    const struct {
        int count;
        const char* spoken;
    } cases[] = {
        {1, "1 исправление сегодня"},   {2, "2 исправления сегодня"},   {5, "5 исправлений сегодня"},
        {11, "11 исправлений сегодня"}, {21, "21 исправление сегодня"}, {22, "22 исправления сегодня"},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.count);
        session.statistics.reset();
        for (int i = 0; i < expected.count; ++i) session.statistics.recordCorrection(ConversionDirection::russianToEnglish);
        auto* page = select<QWidget>(SettingsSection::statistics);
        ASSERT_NE(page, nullptr);
        auto* today = visible<StatisticValue>("todayValue");
        ASSERT_NE(today, nullptr);
        EXPECT_EQ(today->accessibleName(), QString::fromUtf8(expected.spoken));
    }
}

}  // namespace
}  // namespace tarvelo::ui
