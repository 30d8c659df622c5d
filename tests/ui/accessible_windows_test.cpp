// SPDX-License-Identifier: GPL-3.0-or-later
// The windows for people who use the keyboard or an assistive technology: every control has a name and
// an action that does what it says, the settings window starts at its sidebar and closes with Esc and
// Ctrl+W as About does, and warning and status text keeps its contrast on light and dark desktops.

#include <algorithm>
#include <cmath>
#include <string>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QPalette>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>

#include "app/ui/about_window.h"
#include "app/ui/onboarding_window.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/symbol_label.h"
#include "app/ui/window_colors.h"
#include "no_icon_theme.h"
#include "settings_window_harness.h"

namespace tarvelo::ui::testing {
namespace {

double luminance(const QColor& colour) {
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

QPalette darkPalette() {
    QPalette dark;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, QColor(0x2a, 0x2a, 0x2e));
        dark.setColor(group, QPalette::WindowText, QColor(0xee, 0xee, 0xf0));
        dark.setColor(group, QPalette::Base, QColor(0x1e, 0x1e, 0x22));
        dark.setColor(group, QPalette::Text, QColor(0xee, 0xee, 0xf0));
        dark.setColor(group, QPalette::Button, QColor(0x34, 0x34, 0x3a));
        dark.setColor(group, QPalette::ButtonText, QColor(0xee, 0xee, 0xf0));
    }
    return dark;
}

// The controls of `root` a person can reach with Tab, as assistive technologies see them.
QList<QWidget*> controlsOf(QWidget& root) {
    QList<QWidget*> controls;
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (widget->isVisibleTo(&root) && widget->focusPolicy() & Qt::TabFocus) controls << widget;
    }
    return controls;
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible == nullptr ? QString() : accessible->text(QAccessible::Name);
}

class AccessibleWindowsTest : public SettingsWindowHarness {
protected:
    NoIconTheme noTheme_;
};

TEST_F(AccessibleWindowsTest, EveryControlOfEveryWindowHasAName) {
    session.exceptions.add("ghbdtn");
    session.applicationFilter.add("org.gnome.TextEditor");
    open();
    for (const SettingsSection section : kAllSettingsSections) {
        navigation.requestedSection.set(section);
        QApplication::processEvents();
        for (QWidget* control : controlsOf(*window)) {
            EXPECT_FALSE(accessibleName(control).isEmpty())
                << title(section) << ": " << control->metaObject()->className() << " "
                << control->objectName().toStdString();
        }
    }
    session.trust.setAccessibility(false);
    session.permissions.refresh();
    OnboardingWindow onboarding(context);
    onboarding.show();
    AboutWindow about([](const QUrl&) {});
    about.show();
    for (QWidget* root : {static_cast<QWidget*>(&onboarding), static_cast<QWidget*>(&about)}) {
        for (int step = 0; step < 3; ++step) {
            for (QWidget* control : controlsOf(*root)) {
                EXPECT_FALSE(accessibleName(control).isEmpty())
                    << root->windowTitle().toStdString() << ": " << control->objectName().toStdString();
            }
            if (root == &onboarding) QTest::keyClick(&onboarding, Qt::Key_Return);
        }
    }
}

// A switch or check box toggled by an assistive technology stores its setting, as a click does: the
// page built afresh shows the new state.
TEST_F(AccessibleWindowsTest, TheToggleActionOfEverySwitchStoresItsSetting) {
    open();
    for (const SettingsSection section :
         {SettingsSection::general, SettingsSection::autoSwitch, SettingsSection::applications}) {
        navigation.requestedSection.set(section);
        QStringList names;
        for (QAbstractButton* box : window->currentPage()->findChildren<QAbstractButton*>()) {
            if (box->isCheckable()) names << box->objectName();
        }
        ASSERT_FALSE(names.isEmpty()) << title(section);
        for (const QString& name : names) {
            SCOPED_TRACE(name.toStdString());
            auto* box = window->currentPage()->findChild<QAbstractButton*>(name);
            const bool before = box->isChecked();
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
            ASSERT_NE(accessible->actionInterface(), nullptr);
            ASSERT_TRUE(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
            accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            QApplication::processEvents();

            navigation.requestedSection.set(SettingsSection::languages);
            navigation.requestedSection.set(section);
            EXPECT_NE(window->currentPage()->findChild<QAbstractButton*>(name)->isChecked(), before);
        }
    }
}

TEST_F(AccessibleWindowsTest, SettingsStartAtTheNamedSidebarAndCloseWithEscOrCtrlW) {
    int quits = 0;
    context.quit = [&quits] { ++quits; };
    SettingsWindow& shown = open();
    shown.activateWindow();
    QApplication::processEvents();
    auto* sidebar = shown.findChild<QListWidget*>("sidebar");
    EXPECT_EQ(QApplication::focusWidget(), sidebar);
    EXPECT_EQ(accessibleName(sidebar), "Settings sections");
    QTest::keyClick(sidebar, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(shown.currentPage()->isAncestorOf(QApplication::focusWidget()))
        << QApplication::focusWidget()->objectName().toStdString();

    for (const QKeyCombination keys : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::CTRL, Qt::Key_W)}) {
        open().activateWindow();
        QApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(window->isVisible());
    }

    click(open().findChild<QPushButton*>("quitButton"));
    EXPECT_EQ(quits, 1);

    AboutWindow about([](const QUrl&) {});
    for (const QKeyCombination keys : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::CTRL, Qt::Key_W)}) {
        about.show();
        about.activateWindow();
        QApplication::processEvents();
        QTest::keyClick(&about, keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(about.isVisible());
    }
}

TEST_F(AccessibleWindowsTest, TheAboutLinkShowsKeyboardFocus) {
    AboutWindow about([](const QUrl&) {});
    about.show();
    about.activateWindow();
    QApplication::processEvents();
    QWidget* link = about.findChild<QWidget*>("websiteLink");
    ASSERT_EQ(QApplication::focusWidget(), link);
    const QImage focused = link->grab().toImage();
    link->clearFocus();
    const QImage unfocused = link->grab().toImage();
    EXPECT_NE(focused, unfocused);
}

TEST_F(AccessibleWindowsTest, WarningAndStatusTextKeepTheirContrastOnLightAndDarkDesktops) {
    session.settings.pause();
    context.waylandSession = true;
    const QPalette previous = QApplication::palette();
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
        window.reset();
        navigation.requestedSection.set(SettingsSection::privacy);
        open();
        const QColor background = page_style::detailBackground(window->palette());
        const QList<SymbolLabel*> texts = window->currentPage()->findChildren<SymbolLabel*>();
        int coloured = 0;
        for (SymbolLabel* label : texts) {
            if (!label->color().isValid()) continue;
            ++coloured;
            EXPECT_GE(contrast(label->color(), background), 4.5) << label->text().toStdString();
        }
        EXPECT_GE(coloured, 2);  // the status and the Wayland warning
        screenshot(QStringLiteral("settings_privacy_warnings_%1").arg(dark ? "dark" : "light"));
    }
    QApplication::setPalette(previous);
}

}  // namespace
}  // namespace tarvelo::ui::testing
