// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "app/ui/desktop_context.h"
#include "app/window_presenter.h"

class QWidget;

namespace tarvelo::ui {

class AboutWindow;
class OnboardingWindow;
class SettingsWindow;

// Owns the three windows. Each is made on its first showing, centred, and kept for the rest of the
// process: closing one only hides it, so showing it again brings back the same window where it was.
class QtWindowPresenter final : public WindowPresenter {
public:
    explicit QtWindowPresenter(DesktopContext& context);
    ~QtWindowPresenter() override;

    void show(AppWindow window) override;
    bool hasVisibleWindows() const override;

    // The window, or null while it has not been shown yet.
    QWidget* window(AppWindow window) const;

private:
    DesktopContext& context_;
    std::unique_ptr<SettingsWindow> settings_;
    std::unique_ptr<OnboardingWindow> onboarding_;
    std::unique_ptr<AboutWindow> about_;
};

}  // namespace tarvelo::ui
