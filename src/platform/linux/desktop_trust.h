// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/atspi/atspi_availability.h"
#include "platform/linux/x11/x11_display.h"
#include "platform/trust.h"

namespace tarvelo::desktop {

// The two permissions as the Linux desktop has them. Listening to the keyboard needs nothing from the
// user: the X server offers it when it has XInput 2.2 and XTest. Reading and changing other programs'
// text needs the accessibility registry to answer; asking for it switches accessibility on for the
// session (applications started afterwards expose their text) and opens the desktop's accessibility
// settings where it has them.
class DesktopTrust final : public Trust {
public:
    // `display` may be null (no X display): listening is then never possible.
    DesktopTrust(const X11Display* display, AtspiAvailability& accessibility)
        : display_(display), accessibility_(accessibility) {}

    bool isAccessibilityTrusted() override { return accessibility_.isAvailable(); }
    void promptForAccessibility() override;
    bool preflightListenEventAccess() override { return display_ != nullptr && display_->hasInputExtensions(); }
    // There is nothing to ask for: the X server either offers the extensions or it does not.
    void requestListenEventAccess() override {}

private:
    const X11Display* display_;
    AtspiAvailability& accessibility_;
};

}  // namespace tarvelo::desktop
