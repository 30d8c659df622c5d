// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "app/window_presenter.h"

namespace tarvelo {

// Records which windows were shown; `visible` is what it answers about windows on screen.
class RecordingWindowPresenter final : public WindowPresenter {
public:
    void show(AppWindow window) override { shown.push_back(window); }
    bool hasVisibleWindows() const override { return visible; }

    std::vector<AppWindow> shown;
    bool visible = false;
};

}  // namespace tarvelo
