// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>

namespace tarvelo::desktop {

// The key presses the backend has posted through XTest and not yet seen come back as raw key events,
// oldest first. The tap asks it about every raw press from the XTEST device: another program (a test,
// an on-screen keyboard) types through the same device, so the device alone cannot tell whose key it
// is, but the order of the posted key codes can.
class InjectedKeys {
public:
    using Clock = std::chrono::steady_clock;

    // Notes a press that was just posted.
    void notePosted(std::uint32_t keycode, Clock::time_point now = Clock::now());

    // Whether a raw press of `keycode` from the XTEST device is the oldest posted press; if so it is
    // taken off the list. Presses the server never reported back (they are dropped after kLifetime) do
    // not hold up the ones after them.
    bool claim(std::uint32_t keycode, Clock::time_point now = Clock::now());

    bool empty() const { return pending_.empty(); }

    // A posted press comes back within milliseconds; one still missing after this never will.
    static constexpr std::chrono::milliseconds kLifetime{2000};

private:
    struct Pending {
        std::uint32_t keycode;
        Clock::time_point posted;
    };
    std::deque<Pending> pending_;
};

}  // namespace tarvelo::desktop
