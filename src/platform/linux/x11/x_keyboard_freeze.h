// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include "platform/keyboard_freeze.h"
#include "platform/linux/x11/keyboard_hold.h"
#include "platform/linux/x11/x11_display.h"

namespace tarvelo::desktop {

// Freezes the keyboard in the X server with a synchronous grab of the root window: the server queues
// the user's key presses instead of sending them anywhere, and sends them on, in order, to the focused
// window when the grab ends. The grab's reply comes after the raw events of every key the server had
// handled before it, so dispatching what has arrived hands those to the tap.
//
// While the tap answers a chord the server already holds the keyboard for it, and the freeze only
// stands inside that hold. Keys posted through XTest are frozen too: nothing may be posted until thaw().
class XKeyboardFreeze final : public KeyboardFreeze {
public:
    XKeyboardFreeze(X11Display* display, KeyboardHold& hold) : display_(display), hold_(hold) {}
    ~XKeyboardFreeze() override { thaw(); }

    bool freeze() override;
    void thaw() override;

    // True while frozen, and for kFocusSettleTime after: the focused application is told it lost focus
    // while the grab lasts, and its focus events catch up a moment later.
    bool isHoldingKeyboard() const;
    static constexpr std::chrono::milliseconds kFocusSettleTime{500};

    // How long the latest freeze held the keyboard, for the benchmarks.
    std::chrono::steady_clock::duration lastFreezeLength() const { return lastLength_; }

private:
    enum class State { thawed, grabbed, insideChordHold };

    X11Display* display_;
    KeyboardHold& hold_;
    State state_ = State::thawed;
    std::chrono::steady_clock::time_point frozenAt_{};
    std::chrono::steady_clock::time_point thawedAt_{};
    std::chrono::steady_clock::duration lastLength_{};
};

}  // namespace tarvelo::desktop
