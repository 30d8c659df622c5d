// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <ostream>

#include <QAbstractButton>
#include <QApplication>
#include <QList>
#include <QListWidget>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "app/settings_navigation.h"
#include "app/ui/desktop_context.h"
#include "app/ui/settings_window.h"
#include "platform/fake/simulated_session.h"
#include "screenshot.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tarvelo::ui::testing {

// The settings window over the whole application on the pretend desktop, opened as the user opens it.
class SettingsWindowHarness : public ::testing::Test {
protected:
    SimulatedSession session;
    SettingsNavigation navigation;
    DesktopContext context{session.app, navigation, session.defaults, KeyLabels::pc()};
    std::unique_ptr<SettingsWindow> window;

    ~SettingsWindowHarness() override {
        window.reset();
        // Rows that went away while their own button was being clicked are deleted here.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    SettingsWindow& open() {
        if (!window) window = std::make_unique<SettingsWindow>(context);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    // Clicks the section's row in the sidebar and answers its page as `Page`, null when it is another.
    template <typename Page>
    Page* select(SettingsSection section) {
        SettingsWindow& shown = open();
        auto* sidebar = shown.findChild<QListWidget*>("sidebar");
        if (sidebar == nullptr) return nullptr;
        QListWidgetItem* item = sidebar->item(static_cast<int>(section));
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, {}, sidebar->visualItemRect(item).center());
        return dynamic_cast<Page*>(shown.currentPage());
    }

    // The child named `name` that the user can see now; rows on their way out are skipped.
    template <typename Widget>
    Widget* visible(const QString& name) const {
        const QList<Widget*> found = window->findChildren<Widget*>(name);
        for (Widget* widget : found) {
            if (widget->isVisibleTo(window.get())) return widget;
        }
        return nullptr;
    }

    template <typename Widget>
    QList<Widget*> allVisible(const QString& name) const {
        QList<Widget*> shown;
        for (Widget* widget : window->findChildren<Widget*>(name)) {
            if (widget->isVisibleTo(window.get())) shown.push_back(widget);
        }
        return shown;
    }

    // A click where a person would click: on a check box's box, anywhere on other buttons.
    static void click(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
    }

    void screenshot(const QString& name) {
        QWidget& shown = open();
        EXPECT_FALSE(saveScreenshot(shown, name).isEmpty()) << name.toStdString();
    }
};

}  // namespace tarvelo::ui::testing
