// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/x_keyboard_freeze.h"

#include <X11/Xlib.h>

namespace tarvelo::desktop {

bool XKeyboardFreeze::freeze() {
    if (state_ != State::thawed) return true;
    if (display_ == nullptr) return false;
    frozenAt_ = std::chrono::steady_clock::now();
    if (hold_.isHeld()) {
        // Answering a chord: the chord's own grab keeps the keyboard frozen, and every key before the
        // chord has been handled already.
        state_ = State::insideChordHold;
        return true;
    }
    Display* display = display_->get();
    const int result = XGrabKeyboard(display, display_->rootWindow(), False, GrabModeAsync, GrabModeSync, CurrentTime);
    // AlreadyGrabbed: a menu or another program holds the keyboard; the user's keys do not reach the
    // field now anyway.
    if (result != GrabSuccess) return false;
    state_ = State::grabbed;
    display_->dispatchPending();
    return true;
}

void XKeyboardFreeze::thaw() {
    if (state_ == State::thawed) return;
    if (state_ == State::grabbed) {
        XUngrabKeyboard(display_->get(), CurrentTime);
        display_->flush();
    }
    state_ = State::thawed;
    thawedAt_ = std::chrono::steady_clock::now();
    lastLength_ = thawedAt_ - frozenAt_;
}

bool XKeyboardFreeze::isHoldingKeyboard() const {
    return state_ != State::thawed || std::chrono::steady_clock::now() - thawedAt_ < kFocusSettleTime;
}

}  // namespace tarvelo::desktop
