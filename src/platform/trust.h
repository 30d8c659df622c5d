// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarvelo {

// The two permissions the system needs from the desktop: reading and changing other applications' text
// (accessibility), and listening to the keyboard. Called on the main thread; cheap enough to ask often.
class Trust {
public:
    virtual ~Trust() = default;
    Trust(const Trust&) = delete;
    Trust& operator=(const Trust&) = delete;

    virtual bool isAccessibilityTrusted() = 0;
    // Shows the desktop's prompt for accessibility access when it is not granted.
    virtual void promptForAccessibility() = 0;

    virtual bool preflightListenEventAccess() = 0;
    // Asks the desktop for permission to listen to the keyboard when it is not granted.
    virtual void requestListenEventAccess() = 0;

protected:
    Trust() = default;
};

}  // namespace tarvelo
