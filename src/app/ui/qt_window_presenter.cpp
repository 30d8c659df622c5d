// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/qt_window_presenter.h"

#include <malloc.h>

#include <algorithm>

#include <QEvent>
#include <QGuiApplication>
#include <QPixmapCache>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "app/ui/about_window.h"
#include "app/ui/onboarding_window.h"
#include "app/ui/settings_window.h"

namespace tarvelo::ui {
namespace {

constexpr AppWindow kWindows[] = {AppWindow::settings, AppWindow::onboarding, AppWindow::about};

void centre(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

std::size_t indexOf(AppWindow window) {
    switch (window) {
        case AppWindow::settings: return 0;
        case AppWindow::onboarding: return 1;
        case AppWindow::about: return 2;
    }
    return 0;
}

}  // namespace

QtWindowPresenter::QtWindowPresenter(DesktopContext& context) : context_(context) {}

QtWindowPresenter::~QtWindowPresenter() = default;

QtWindowPresenter::Slot& QtWindowPresenter::slot(AppWindow window) { return slots_[indexOf(window)]; }

const QtWindowPresenter::Slot& QtWindowPresenter::slot(AppWindow window) const { return slots_[indexOf(window)]; }

std::unique_ptr<QWidget> QtWindowPresenter::make(AppWindow window) {
    switch (window) {
        case AppWindow::settings: return std::make_unique<SettingsWindow>(context_);
        case AppWindow::onboarding: return std::make_unique<OnboardingWindow>(context_);
        case AppWindow::about: return std::make_unique<AboutWindow>();
    }
    return nullptr;
}

void QtWindowPresenter::show(AppWindow window) {
    Slot& shown = slot(window);
    if (!shown.widget) {
        if (!anyWindowMade()) context_.windowsOpening();
        shown.widget = make(window);
        if (shown.position) {
            shown.widget->move(*shown.position);
        } else {
            centre(*shown.widget);
        }
        shown.widget->installEventFilter(this);
    }
    QWidget& widget = *shown.widget;
    widget.show();
    widget.setWindowState(widget.windowState() & ~Qt::WindowMinimized);
    widget.raise();
    widget.activateWindow();
}

bool QtWindowPresenter::hasVisibleWindows() const {
    for (const AppWindow window : kWindows) {
        const QWidget* widget = this->window(window);
        if (widget != nullptr && widget->isVisible()) return true;
    }
    return false;
}

QWidget* QtWindowPresenter::window(AppWindow window) const { return slot(window).widget.get(); }

bool QtWindowPresenter::eventFilter(QObject* watched, QEvent* event) {
    // A window is hidden from inside its own handlers (a button that finishes onboarding), so it is
    // released only once the event loop has left them.
    if (event->type() == QEvent::Hide && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() &&
        !releaseScheduled_) {
        releaseScheduled_ = true;
        QTimer::singleShot(0, this, [this] { releaseHiddenWindows(); });
    }
    return QObject::eventFilter(watched, event);
}

void QtWindowPresenter::releaseHiddenWindows() {
    releaseScheduled_ = false;
    bool released = false;
    for (Slot& held : slots_) {
        if (!held.widget || held.widget->isVisible()) continue;
        held.position = held.widget->pos();
        held.widget.reset();
        released = true;
    }
    if (!released) return;
    const bool lastWindow = !anyWindowMade();
    // The style's and the windows' pixmaps are drawn only for the windows; the cache would keep them
    // until it overflowed.
    if (lastWindow) QPixmapCache::clear();
    // The freed widgets leave holes all over the heap that glibc keeps resident; give them back.
    ::malloc_trim(0);
    if (lastWindow) context_.windowsReleased();
}

bool QtWindowPresenter::anyWindowMade() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const Slot& held) { return held.widget != nullptr; });
}

}  // namespace tarvelo::ui
