// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/injected_keys.h"

namespace tarvelo::desktop {

void InjectedKeys::notePosted(std::uint32_t keycode, Clock::time_point now) { pending_.push_back({keycode, now}); }

bool InjectedKeys::claim(std::uint32_t keycode, Clock::time_point now) {
    while (!pending_.empty() && now - pending_.front().posted > kLifetime) pending_.pop_front();
    if (pending_.empty() || pending_.front().keycode != keycode) return false;
    pending_.pop_front();
    return true;
}

}  // namespace tarvelo::desktop
