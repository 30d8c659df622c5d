// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/qt_window_presenter.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/ui/about_window.h"
#include "app/ui/onboarding_window.h"
#include "app/ui/settings_window.h"

namespace tarvelo::ui {
namespace {

void centre(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

template <typename Window, typename Make>
QWidget& made(std::unique_ptr<Window>& window, Make make) {
    if (!window) {
        window = make();
        centre(*window);
    }
    return *window;
}

}  // namespace

QtWindowPresenter::QtWindowPresenter(DesktopContext& context) : context_(context) {}

QtWindowPresenter::~QtWindowPresenter() = default;

void QtWindowPresenter::show(AppWindow window) {
    QWidget* shown = nullptr;
    switch (window) {
        case AppWindow::settings:
            shown = &made(settings_, [this] { return std::make_unique<SettingsWindow>(context_); });
            break;
        case AppWindow::onboarding:
            shown = &made(onboarding_, [this] { return std::make_unique<OnboardingWindow>(context_); });
            break;
        case AppWindow::about: shown = &made(about_, [] { return std::make_unique<AboutWindow>(); }); break;
    }
    shown->show();
    shown->setWindowState(shown->windowState() & ~Qt::WindowMinimized);
    shown->raise();
    shown->activateWindow();
}

bool QtWindowPresenter::hasVisibleWindows() const {
    for (const AppWindow window : {AppWindow::settings, AppWindow::onboarding, AppWindow::about}) {
        const QWidget* widget = this->window(window);
        if (widget != nullptr && widget->isVisible()) return true;
    }
    return false;
}

QWidget* QtWindowPresenter::window(AppWindow window) const {
    switch (window) {
        case AppWindow::settings: return settings_.get();
        case AppWindow::onboarding: return onboarding_.get();
        case AppWindow::about: return about_.get();
    }
    return nullptr;
}

}  // namespace tarvelo::ui
