// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/keyboard_hold.h"

#include <utility>

namespace tarvelo::desktop {

void KeyboardHold::release() {
    held_ = false;
    // Taken out before sending, so that a failure or a sender that goes away leaves nothing behind.
    std::deque<KeyboardEvent> waiting;
    waiting.swap(waiting_);
    for (const KeyboardEvent& event : waiting) {
        if (!sender_ || !sender_(event)) return;
    }
}

void KeyboardHold::setSender(Sender sender) {
    sender_ = std::move(sender);
    if (!sender_) waiting_.clear();
}

}  // namespace tarvelo::desktop
