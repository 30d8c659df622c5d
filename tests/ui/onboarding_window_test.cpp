// SPDX-License-Identifier: GPL-3.0-or-later
// Onboarding: three steps with their counter and footer, permission rows that follow grants as they
// happen, a last step that depends on them, and a finish that is remembered and closes the window.

#include <string>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "app/settings_navigation.h"
#include "app/settings_pages.h"
#include "app/ui/desktop_context.h"
#include "app/ui/heading_label.h"
#include "app/ui/onboarding_window.h"
#include "app/ui/permission_row.h"
#include "no_icon_theme.h"
#include "platform/fake/simulated_session.h"
#include "screenshot.h"
#include "store/defaults_keys.h"

namespace tarvelo::ui {
namespace {

class OnboardingWindowTest : public ::testing::Test {
protected:
    OnboardingWindowTest() { window.show(); }

    QPushButton* button(const char* name) const { return window.findChild<QPushButton*>(QString::fromLatin1(name)); }
    QString counter() const { return window.findChild<QLabel*>(QStringLiteral("counter"))->text(); }
    QWidget* currentStep() const { return window.findChild<QStackedWidget*>(QStringLiteral("steps"))->currentWidget(); }
    HeadingLabel* heading() const { return currentStep()->findChild<HeadingLabel*>(QStringLiteral("heading")); }
    QString readyText() const { return window.findChild<QLabel*>(QStringLiteral("readyText"))->text(); }
    void clickPrimary() { QTest::mouseClick(button("primaryButton"), Qt::LeftButton); }

    PermissionRow* row(const char* name) const { return window.findChild<PermissionRow*>(QString::fromLatin1(name)); }
    static QString status(PermissionRow* row) {
        return row->findChild<QLabel*>(QStringLiteral("permissionStatus"))->accessibleName();
    }
    bool offersButton(PermissionRow* row) const {
        return row->findChild<QPushButton*>(QStringLiteral("openSettingsButton"))->isVisibleTo(&window);
    }

    void setPermissions(bool accessibility, bool inputMonitoring) {
        session.trust.setAccessibility(accessibility);
        session.trust.setListenEvents(inputMonitoring);
        session.permissions.refresh();
    }

    testing::NoIconTheme noTheme_;
    SimulatedSession session;
    SettingsNavigation navigation;
    DesktopContext context{session.app, navigation, session.defaults, KeyLabels::pc()};
    OnboardingWindow window{context};
};

TEST_F(OnboardingWindowTest, ThreeStepsWithCounterAndFooter) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Welcome to Tarvelo"));
    EXPECT_EQ(window.size(), QSize(620, 520));

    struct Expected {
        const char* counter;
        bool back;
        const char* primary;
        const char* heading;
        const char* screenshot;
    };
    const Expected steps[] = {
        {"1 of 3", false, "Continue", "Type in the right language,\neven when the layout is wrong", "onboarding_1_welcome"},
        {"2 of 3", true, "Continue", "Two things make correction possible", "onboarding_2_permissions"},
        {"3 of 3", true, "Start Tarvelo", "Ready in the tray", "onboarding_3_ready"},
    };
    for (const Expected& step : steps) {
        SCOPED_TRACE(step.counter);
        EXPECT_EQ(counter(), QString::fromUtf8(step.counter));
        EXPECT_EQ(button("backButton")->isVisible(), step.back);
        EXPECT_EQ(button("primaryButton")->text(), QString::fromUtf8(step.primary));
        EXPECT_EQ(heading()->text(), QString::fromUtf8(step.heading));
        EXPECT_FALSE(testing::saveScreenshot(window, QString::fromLatin1(step.screenshot)).isEmpty());
        if (step.back) {
            QTest::mouseClick(button("backButton"), Qt::LeftButton);
            clickPrimary();
            EXPECT_EQ(counter(), QString::fromUtf8(step.counter));
        }
        if (std::string(step.primary) == "Continue") clickPrimary();
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(readyText(), QStringLiteral("Automatic correction is on. Use Alt+Space to convert selected text at any time."));
}

TEST_F(OnboardingWindowTest, FollowsTheDesktopIntoDarkColours) {
    const QPalette previous = QApplication::palette();
    QPalette dark = previous;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, QColor(0x24, 0x24, 0x2a));
        dark.setColor(group, QPalette::WindowText, QColor(0xee, 0xee, 0xf0));
        dark.setColor(group, QPalette::Button, QColor(0x34, 0x34, 0x3a));
        dark.setColor(group, QPalette::ButtonText, QColor(0xee, 0xee, 0xf0));
    }
    QApplication::setPalette(dark);
    QApplication::processEvents();
    const QColor counterColour = window.findChild<QLabel*>(QStringLiteral("counter"))->palette().color(QPalette::WindowText);
    const QString path = testing::saveScreenshot(window, QStringLiteral("onboarding_1_welcome_dark"));
    QApplication::setPalette(previous);

    // The secondary text is recomputed between the new background and text colours.
    EXPECT_GT(counterColour.lightnessF(), 0.4);
    EXPECT_LT(counterColour.lightnessF(), dark.color(QPalette::WindowText).lightnessF());
    EXPECT_FALSE(path.isEmpty());
}

TEST_F(OnboardingWindowTest, FocusMovesToTheNewStepsHeading) {
    window.activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(window.isActiveWindow());

    clickPrimary();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), heading());
    EXPECT_EQ(heading()->text(), QStringLiteral("Two things make correction possible"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(heading());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Heading);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Two things make correction possible"));

    // Return moves on from wherever the focus is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(counter(), QStringLiteral("3 of 3"));
    EXPECT_EQ(QApplication::focusWidget(), heading());

    QTest::mouseClick(button("backButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), heading());
    EXPECT_EQ(counter(), QStringLiteral("2 of 3"));
}

TEST_F(OnboardingWindowTest, PermissionRowsFollowGrantsAsTheyHappen) {
    setPermissions(false, false);
    clickPrimary();
    PermissionRow* accessibility = row("accessibilityRow");
    PermissionRow* inputMonitoring = row("inputMonitoringRow");
    EXPECT_EQ(status(accessibility), QStringLiteral("Not granted"));
    EXPECT_EQ(status(inputMonitoring), QStringLiteral("Not granted"));
    EXPECT_TRUE(offersButton(accessibility));
    EXPECT_EQ(accessibility->findChild<QPushButton*>(QStringLiteral("openSettingsButton"))->text(),
              QStringLiteral("Open Accessibility Settings"));
    // The X server's keyboard extensions are there or not; no settings page can grant them.
    EXPECT_FALSE(offersButton(inputMonitoring));
    EXPECT_FALSE(testing::saveScreenshot(window, QStringLiteral("onboarding_2_permissions_missing")).isEmpty());

    // The button asks the desktop.
    QTest::mouseClick(accessibility->findChild<QPushButton*>(QStringLiteral("openSettingsButton")), Qt::LeftButton);
    EXPECT_EQ(session.trust.accessibilityPrompts(), 1);

    // Granted elsewhere, seen at the next check, without anything done in the window.
    session.trust.setAccessibility(true);
    session.wait(PermissionManager::kRefreshInterval);
    EXPECT_EQ(status(accessibility), QStringLiteral("Granted"));
    EXPECT_FALSE(offersButton(accessibility));
    EXPECT_EQ(status(inputMonitoring), QStringLiteral("Not granted"));
    EXPECT_FALSE(testing::saveScreenshot(window, QStringLiteral("onboarding_2_permissions_one_granted")).isEmpty());

    // And withdrawn again.
    setPermissions(false, false);
    EXPECT_EQ(status(accessibility), QStringLiteral("Not granted"));
    EXPECT_TRUE(offersButton(accessibility));
}

TEST_F(OnboardingWindowTest, TheAccessStepSaysWhatThisDesktopAsksForFirst) {
    clickPrimary();
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("inputSourceOffer")), nullptr);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("plasmaSetup")), nullptr);

    // GNOME with Tarvelo as its input method: the offer of its input sources.
    bool usesTarvelo = false;
    DesktopContext gnome = context;
    gnome.gnomeInputSources = InputSourceOffer{[&] { return usesTarvelo; }, [&] { return usesTarvelo = true; },
                                               [&] { return !(usesTarvelo = false); }};
    OnboardingWindow onGnome(gnome);
    onGnome.show();
    QTest::mouseClick(onGnome.findChild<QPushButton*>(QStringLiteral("primaryButton")), Qt::LeftButton);
    auto* offer = onGnome.findChild<QPushButton*>(QStringLiteral("inputSourceButton"));
    ASSERT_NE(offer, nullptr);
    EXPECT_TRUE(offer->isVisible());
    EXPECT_EQ(offer->text(), QString::fromUtf8("Use Tarvelo\u2019s Input Sources"));
    EXPECT_FALSE(testing::saveScreenshot(onGnome, QStringLiteral("onboarding_2_gnome_input_sources")).isEmpty());

    // Plasma without fcitx5: the steps that turn it on.
    DesktopContext plasma = context;
    plasma.plasmaWithoutFcitx5 = true;
    OnboardingWindow onPlasma(plasma);
    onPlasma.show();
    QTest::mouseClick(onPlasma.findChild<QPushButton*>(QStringLiteral("primaryButton")), Qt::LeftButton);
    auto* steps = onPlasma.findChild<QLabel*>(QStringLiteral("plasmaSetup"));
    ASSERT_NE(steps, nullptr);
    EXPECT_TRUE(steps->isVisible());
    EXPECT_EQ(steps->text(), QString::fromStdString(settings_pages::plasmaSetupSteps()));
    EXPECT_FALSE(testing::saveScreenshot(onPlasma, QStringLiteral("onboarding_2_plasma_setup")).isEmpty());
}

TEST_F(OnboardingWindowTest, LastStepDependsOnBothPermissions) {
    const QString limitedText = QString::fromUtf8(
        "Tarvelo will stay idle until both are available. Open Settings \u2192 Privacy when you\u2019re ready.");
    struct Case {
        bool accessibility;
        bool inputMonitoring;
        const char* heading;
    };
    for (const Case& c : {Case{true, true, "Ready in the tray"}, Case{false, true, "Ready with limited access"},
                          Case{true, false, "Ready with limited access"}, Case{false, false, "Ready with limited access"}}) {
        SCOPED_TRACE(std::string(c.accessibility ? "A" : "-") + (c.inputMonitoring ? "I" : "-"));
        setPermissions(c.accessibility, c.inputMonitoring);
        while (counter() != QStringLiteral("3 of 3")) clickPrimary();
        EXPECT_EQ(heading()->text(), QString::fromUtf8(c.heading));
        if (!(c.accessibility && c.inputMonitoring)) {
            EXPECT_EQ(readyText(), limitedText);
        }
    }
    EXPECT_FALSE(testing::saveScreenshot(window, QStringLiteral("onboarding_3_ready_limited")).isEmpty());

    // Granting while the last step shows changes it there and then.
    setPermissions(true, true);
    EXPECT_EQ(heading()->text(), QStringLiteral("Ready in the tray"));
}

TEST_F(OnboardingWindowTest, FinishingWithAPermissionMissingIsRememberedAndClosesTheWindow) {
    setPermissions(true, false);
    clickPrimary();
    clickPrimary();
    ASSERT_EQ(heading()->text(), QStringLiteral("Ready with limited access"));
    EXPECT_FALSE(session.defaults.boolForKey(defaults_keys::onboarding));

    clickPrimary();
    EXPECT_TRUE(session.defaults.boolForKey(defaults_keys::onboarding));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(OnboardingWindowTest, ClosingWithoutFinishingLeavesOnboardingUnfinished) {
    clickPrimary();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(session.defaults.hasStoredValue(defaults_keys::onboarding));
}

}  // namespace
}  // namespace tarvelo::ui
