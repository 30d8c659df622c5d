// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarvelo {

// The application's three windows.
enum class AppWindow { settings, onboarding, about };

// Shows the application's windows. A window is created on its first showing and kept: showing it again
// brings the same window forward. Called on the main thread.
class WindowPresenter {
public:
    virtual ~WindowPresenter() = default;
    WindowPresenter(const WindowPresenter&) = delete;
    WindowPresenter& operator=(const WindowPresenter&) = delete;

    // Creates the window if needed, activates the application and brings the window to the front.
    virtual void show(AppWindow window) = 0;
    // Whether any of the application's windows is on screen now.
    virtual bool hasVisibleWindows() const = 0;

protected:
    WindowPresenter() = default;
};

}  // namespace tarvelo
