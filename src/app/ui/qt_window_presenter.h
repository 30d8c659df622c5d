// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

#include <array>
#include <memory>
#include <optional>

#include "app/ui/desktop_context.h"
#include "app/window_presenter.h"

class QEvent;
class QWidget;

namespace tarvelo::ui {

// Owns the three windows. Each is made when it is shown and released soon after it is closed, so that
// a program that sits in the tray all day does not keep windows nobody looks at (several megabytes
// each, with their backing stores). Showing it again makes it anew where the last one was, on the
// page the navigation remembers.
class QtWindowPresenter final : public QObject, public WindowPresenter {
public:
    explicit QtWindowPresenter(DesktopContext& context);
    ~QtWindowPresenter() override;

    void show(AppWindow window) override;
    bool hasVisibleWindows() const override;

    // The window, or null while it is not shown.
    QWidget* window(AppWindow window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Slot {
        std::unique_ptr<QWidget> widget;
        // Where the window stood when it was last released.
        std::optional<QPoint> position;
    };

    Slot& slot(AppWindow window);
    const Slot& slot(AppWindow window) const;
    std::unique_ptr<QWidget> make(AppWindow window);
    // Releases every window that is no longer visible.
    void releaseHiddenWindows();
    bool anyWindowMade() const;

    DesktopContext& context_;
    std::array<Slot, 3> slots_;
    bool releaseScheduled_ = false;
};

}  // namespace tarvelo::ui
