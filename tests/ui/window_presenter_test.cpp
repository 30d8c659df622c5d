// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/qt_window_presenter.h"

#include <QApplication>
#include <QPixmap>
#include <QPixmapCache>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <string>

#include <gtest/gtest.h>

#include "app/settings_navigation.h"
#include "app/ui/desktop_context.h"
#include "platform/fake/simulated_session.h"

namespace tarvelo::ui {
namespace {

struct WindowPresenterTest : ::testing::Test {
    SimulatedSession session;
    SettingsNavigation navigation;
    std::string windowEvents;
    DesktopContext context = [this] {
        DesktopContext made{session.app, navigation, session.defaults, KeyLabels::pc()};
        made.windowsOpening = [this] { windowEvents += "opening "; };
        made.windowsReleased = [this] { windowEvents += "released "; };
        return made;
    }();
    QtWindowPresenter presenter{context};

    // Lets the main loop run what it was given to do after a window closed.
    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(WindowPresenterTest, AClosedWindowIsReleasedAndComesBackWhereItStood) {
    for (const AppWindow kind : {AppWindow::settings, AppWindow::onboarding, AppWindow::about}) {
        SCOPED_TRACE(static_cast<int>(kind));
        presenter.show(kind);
        QPointer<QWidget> first = presenter.window(kind);
        ASSERT_NE(first, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(first.data()));
        EXPECT_TRUE(presenter.hasVisibleWindows());
        first->move(first->pos() + QPoint(40, 30));
        const QPoint moved = first->pos();

        first->close();
        settle();
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(presenter.window(kind), nullptr);
        EXPECT_FALSE(presenter.hasVisibleWindows());

        presenter.show(kind);
        ASSERT_NE(presenter.window(kind), nullptr);
        EXPECT_TRUE(presenter.window(kind)->isVisible());
        EXPECT_EQ(presenter.window(kind)->pos(), moved);
        presenter.window(kind)->close();
        settle();
    }
}

TEST_F(WindowPresenterTest, AWindowThatStaysOpenIsKept) {
    presenter.show(AppWindow::settings);
    presenter.show(AppWindow::about);
    QPointer<QWidget> settings = presenter.window(AppWindow::settings);
    presenter.window(AppWindow::about)->close();
    settle();
    EXPECT_EQ(presenter.window(AppWindow::about), nullptr);
    EXPECT_FALSE(settings.isNull());
    EXPECT_TRUE(settings->isVisible());
    presenter.show(AppWindow::settings);
    EXPECT_EQ(presenter.window(AppWindow::settings), settings.data());
}

TEST_F(WindowPresenterTest, WhatTheWindowsHeldIsGivenBackOnceTheLastOfThemIsReleased) {
    QPixmap drawn(64, 64);
    drawn.fill(Qt::red);
    presenter.show(AppWindow::settings);
    presenter.show(AppWindow::about);
    EXPECT_EQ(windowEvents, "opening ");
    QPixmapCache::insert(QStringLiteral("tarvelo-test"), drawn);

    presenter.window(AppWindow::about)->close();
    settle();
    EXPECT_EQ(windowEvents, "opening ");
    QPixmap cached;
    EXPECT_TRUE(QPixmapCache::find(QStringLiteral("tarvelo-test"), &cached));

    presenter.window(AppWindow::settings)->close();
    settle();
    EXPECT_EQ(windowEvents, "opening released ");
    EXPECT_FALSE(QPixmapCache::find(QStringLiteral("tarvelo-test"), &cached));

    presenter.show(AppWindow::about);
    EXPECT_EQ(windowEvents, "opening released opening ");
    presenter.window(AppWindow::about)->close();
    settle();
    EXPECT_EQ(windowEvents, "opening released opening released ");
}

}  // namespace
}  // namespace tarvelo::ui
