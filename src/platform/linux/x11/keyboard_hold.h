// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <utility>

#include "platform/keyboard_events.h"

namespace tarvelo::desktop {

// Whether the tap holds the keyboard for a chord, and the posts that wait until it lets go. While the
// tap asks its callback about a chord it has grabbed, the server keeps the keyboard frozen: a key
// posted then would wait at the server and, once the keyboard moves again, go to the tap's own grab
// instead of the focused window. So the poster leaves its events here while the keyboard is held, and
// they are sent, in the order they were posted, as soon as the tap has sent the requests that free
// the keyboard. The tap and the poster share one hold, as they share InjectedKeys. Main thread only.
class KeyboardHold {
public:
    KeyboardHold() = default;
    KeyboardHold(const KeyboardHold&) = delete;
    KeyboardHold& operator=(const KeyboardHold&) = delete;

    // The tap: the keyboard may be frozen for a chord from now until release().
    void hold() { held_ = true; }
    // The tap: the requests that free the keyboard have been sent. The waiting events go to the sender
    // now, before this returns.
    void release();
    bool isHeld() const { return held_; }
    bool hasWaiting() const { return !waiting_.empty(); }

    // The poster: sends one event for real. An event that fails ends the sending, and the ones after it
    // are dropped: they would land in the wrong place (text typed where a Backspace did not delete).
    using Sender = std::function<bool(const KeyboardEvent& event)>;
    // One sender at a time; nullptr (the poster is going away) drops whatever is waiting.
    void setSender(Sender sender);
    // The poster: keeps the event for the sender until the keyboard is released.
    void wait(KeyboardEvent event) { waiting_.push_back(std::move(event)); }

private:
    bool held_ = false;
    Sender sender_;
    std::deque<KeyboardEvent> waiting_;
};

}  // namespace tarvelo::desktop
