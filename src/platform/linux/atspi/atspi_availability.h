// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarvelo::desktop {

// The Linux form of the accessibility permission. Text can be read and changed when the desktop's
// accessibility registry answers; GTK applications then expose their text. Qt and Chromium-based
// applications expose theirs only when the session says that accessibility is on
// (org.a11y.Status.IsEnabled on the session bus) at the time they start, so the request sets that.
// Main thread only; each call is one or two short requests over D-Bus.
class AtspiAvailability {
public:
    AtspiAvailability() = default;
    AtspiAvailability(const AtspiAvailability&) = delete;
    AtspiAvailability& operator=(const AtspiAvailability&) = delete;

    // Whether the accessibility registry answers within libatspi's request timeout.
    bool isAvailable();

    // Sets org.a11y.Status.IsEnabled to true; false when the session bus or its accessibility bus
    // service refuses. Applications started afterwards expose their text.
    bool requestAccessibility();

    // The session's org.a11y.Status.IsEnabled; false when it cannot be read.
    bool isEnabledForApplications();
};

}  // namespace tarvelo::desktop
