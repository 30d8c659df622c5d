// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>

namespace tarvelo::wayland::testing {

// The user's hands on a Wayland desktop: evdev key codes pressed and released as a keyboard would send
// them, through whatever the compositor offers for it (KeyInjector: Mutter's remote desktop session;
// KwinKeyInjector: KWin's fake-input protocol). The compositor turns them into characters with the
// active keymap, so a key means the same physical key whatever layout or input method is active.
class Keyboard {
public:
    // The time between one key and the next: `interval` give or take up to `jitter`, both in
    // milliseconds. A key is held down for `hold` milliseconds; modifiers go down `modifierLead`
    // milliseconds before their key and up as long after it.
    struct Pace {
        int interval = 15;
        int jitter = 0;
        int hold = 5;
        int modifierLead = 40;
    };
    // A fast typist, and a person at an ordinary pace.
    static constexpr Pace kFast{15, 0, 5, 40};
    static constexpr Pace kHuman{120, 40, 30, 40};

    virtual ~Keyboard() = default;
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    void setPace(Pace pace) { pace_ = pace; }
    Pace pace() const { return pace_; }

    // One key down or up, in the order of the calls; false with the reason in lastError() when the
    // compositor refuses it or cannot be reached.
    virtual bool press(unsigned int code) = 0;
    virtual bool release(unsigned int code) = 0;
    // Holds the modifiers, presses and releases the key, lets go of the modifiers, then waits the pace.
    // On GNOME a modifier's change reaches a GTK client directly while the key before it is still on
    // its way through the input method, so a modifier released or pressed right next to a key can
    // overtake it (ibus/ibus#2008): `modifierLead` keeps them apart.
    bool tap(unsigned int code, std::initializer_list<unsigned int> modifiers = {});
    // The US key that gives the printable ASCII character `c` (evdev code), and whether Shift is held.
    static std::optional<std::pair<unsigned int, bool>> usKey(char c);
    // One tap per printable ASCII character, space, or line break (Enter), with Shift where the US
    // layout needs it; false at the first character it has no key for, or that is refused.
    bool type(std::string_view ascii);

    const std::string& lastError() const { return lastError_; }

protected:
    Keyboard() = default;

    static void pause(int milliseconds);
    std::string lastError_;

private:
    Pace pace_ = kFast;
    std::mt19937 random_{20261207};
};

}  // namespace tarvelo::wayland::testing
