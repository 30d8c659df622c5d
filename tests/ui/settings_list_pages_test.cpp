// SPDX-License-Identifier: GPL-3.0-or-later
// The Exceptions and Applications pages: what their fields submit, and the lists they keep in step with
// the managers.

#include <set>
#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/ui/applications_settings_view.h"
#include "app/ui/exceptions_settings_view.h"
#include "app/ui/switch_toggle.h"
#include "settings_window_harness.h"

namespace tarvelo::ui::testing {
namespace {

class ExceptionsPageTest : public SettingsWindowHarness {
protected:
    void SetUp() override { ASSERT_NE(select<ExceptionsSettingsView>(SettingsSection::exceptions), nullptr); }

    QLineEdit* field() const { return window->findChild<QLineEdit*>("newWordField"); }
    QPushButton* add() const { return window->findChild<QPushButton*>("addButton"); }
    std::vector<std::string> words() const { return session.exceptions.words().get(); }

    // The words as the rows show them.
    QStringList rows() const {
        QStringList shown;
        for (QWidget* row : allVisible<QWidget>("wordRow")) shown << row->findChild<QLabel*>()->text();
        return shown;
    }
    QToolButton* removeButton(const QString& word) const {
        for (QToolButton* button : allVisible<QToolButton>("removeWordButton")) {
            if (button->accessibleName() == "Remove " + word) return button;
        }
        return nullptr;
    }
};

TEST_F(ExceptionsPageTest, BlankInputKeepsAddDisabledAndReturnClearsItAddingNothing) {
    EXPECT_EQ(field()->placeholderText(), "Add a word");
    EXPECT_FALSE(add()->isEnabled());
    EXPECT_NE(visible<QWidget>("noExceptions"), nullptr);

    QTest::keyClicks(field(), "   ");
    EXPECT_FALSE(add()->isEnabled());
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(field()->text(), "");
    EXPECT_TRUE(words().empty());
    EXPECT_NE(visible<QWidget>("noExceptions"), nullptr);

    QTest::keyClicks(field(), " \tx");
    EXPECT_TRUE(add()->isEnabled());
}

TEST_F(ExceptionsPageTest, AddsAWordOnceInAnyCaseAndRemovesIt) {
    QTest::keyClicks(field(), "  Hello ");
    EXPECT_TRUE(add()->isEnabled());
    click(add());
    EXPECT_EQ(words(), std::vector<std::string>{"Hello"});
    EXPECT_EQ(field()->text(), "");
    EXPECT_FALSE(add()->isEnabled());
    EXPECT_EQ(rows(), QStringList({"Hello"}));
    EXPECT_EQ(visible<QWidget>("noExceptions"), nullptr);

    QTest::keyClicks(field(), "hello");
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(words(), std::vector<std::string>{"Hello"});
    EXPECT_EQ(field()->text(), "");
    EXPECT_EQ(rows(), QStringList({"Hello"}));

    for (const char* word : {"Tarvelo", "GNOME", "ghbdtn"}) {
        QTest::keyClicks(field(), word);
        QTest::keyClick(field(), Qt::Key_Return);
    }
    EXPECT_EQ(rows(), QStringList({"ghbdtn", "GNOME", "Hello", "Tarvelo"}));
    screenshot("settings_exceptions_words");

    click(removeButton("Hello"));
    EXPECT_EQ(words(), (std::vector<std::string>{"ghbdtn", "GNOME", "Tarvelo"}));
    EXPECT_EQ(rows(), QStringList({"ghbdtn", "GNOME", "Tarvelo"}));
    EXPECT_EQ(removeButton("Hello"), nullptr);

    // Words learned elsewhere (an undone correction) appear at once; the last removal brings the note back.
    session.exceptions.add("ntcn");
    EXPECT_EQ(rows(), QStringList({"ghbdtn", "GNOME", "ntcn", "Tarvelo"}));
    for (const QString& word : rows()) click(removeButton(word));
    EXPECT_TRUE(words().empty());
    EXPECT_NE(visible<QWidget>("noExceptions"), nullptr);
}

class ApplicationsPageTest : public SettingsWindowHarness {
protected:
    void SetUp() override { ASSERT_NE(select<ApplicationsSettingsView>(SettingsSection::applications), nullptr); }

    QLineEdit* field() const { return window->findChild<QLineEdit*>("bundleIdentifierField"); }
    QPushButton* exclude() const { return window->findChild<QPushButton*>("excludeButton"); }
    SwitchToggle* knownSwitch(const QString& identifier) const {
        return window->findChild<SwitchToggle*>("disable:" + identifier);
    }
    const std::set<std::string>& disabled() const { return session.applicationFilter.disabledBundleIdentifiers().get(); }

    QStringList customRows() const {
        QStringList shown;
        for (QWidget* row : allVisible<QWidget>("customExclusionRow")) shown << row->findChild<QLabel*>()->text();
        return shown;
    }
};

TEST_F(ApplicationsPageTest, OffersEveryKnownApplicationWithItsCurrentExclusion) {
    QStringList offered;
    for (SwitchToggle* toggle : window->findChildren<SwitchToggle*>()) {
        offered << toggle->text() + (toggle->isChecked() ? " (on)" : "");
    }
    EXPECT_EQ(offered, QStringList({"Disable in GNOME Terminal (on)", "Disable in Konsole (on)", "Disable in xterm (on)",
                                    "Disable in Visual Studio Code", "Disable in PyCharm"}));
    EXPECT_TRUE(customRows().isEmpty());
    EXPECT_TRUE(allVisible<QWidget>("exclusionsInert").isEmpty());

    // A change made elsewhere shows at once.
    session.applicationFilter.setDisabled(true, "Code");
    EXPECT_TRUE(knownSwitch("Code")->isChecked());

    // Where the desktop does not say which application has the keyboard, the page says so.
    context.knowsFocusedApplication = [] { return false; };
    window.reset();
    ASSERT_NE(select<ApplicationsSettingsView>(SettingsSection::applications), nullptr);
    EXPECT_EQ(allVisible<QWidget>("exclusionsInert").size(), 1);
    EXPECT_TRUE(knownSwitch("Code")->isChecked());
}

TEST_F(ApplicationsPageTest, SwitchingOffAKnownApplicationIncludesItAgainWithoutListingIt) {
    click(knownSwitch("org.gnome.Terminal"));
    EXPECT_EQ(disabled().count("org.gnome.Terminal"), 0u);
    EXPECT_FALSE(knownSwitch("org.gnome.Terminal")->isChecked());
    EXPECT_TRUE(customRows().isEmpty());

    click(knownSwitch("jetbrains-pycharm"));
    EXPECT_EQ(disabled().count("jetbrains-pycharm"), 1u);
    EXPECT_TRUE(customRows().isEmpty());
}

TEST_F(ApplicationsPageTest, ExcludesACustomIdentifierExactlyAsTypedAndRemovesIt) {
    EXPECT_EQ(field()->placeholderText(), "org.gnome.TextEditor");
    EXPECT_FALSE(exclude()->isEnabled());
    // X11 window classes need no full stop ("konsole"); blank text cannot name an application.
    QTest::keyClicks(field(), "  ");
    EXPECT_FALSE(exclude()->isEnabled());
    field()->clear();
    QTest::keyClicks(field(), "Com");
    EXPECT_TRUE(exclude()->isEnabled());
    QTest::keyClicks(field(), ".Example.App");
    EXPECT_TRUE(exclude()->isEnabled());

    click(exclude());
    EXPECT_EQ(disabled().count("Com.Example.App"), 1u);
    EXPECT_EQ(field()->text(), "");
    EXPECT_EQ(customRows(), QStringList({"Com.Example.App"}));

    QTest::keyClicks(field(), "org.example.Browser");
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(customRows(), QStringList({"Com.Example.App", "org.example.Browser"}));
    screenshot("settings_applications_custom");

    QPushButton* remove = nullptr;
    for (QPushButton* button : allVisible<QPushButton>("removeIdentifierButton")) {
        if (button->accessibleName() == "Remove Com.Example.App") remove = button;
    }
    click(remove);
    EXPECT_EQ(disabled().count("Com.Example.App"), 0u);
    EXPECT_EQ(customRows(), QStringList({"org.example.Browser"}));
}

}  // namespace
}  // namespace tarvelo::ui::testing
