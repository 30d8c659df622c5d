// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gio/gio.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>

namespace tarvelo::wayland::testing {

// The user's hands on a Wayland desktop: evdev key codes pressed and released through Mutter's remote
// desktop session (org.gnome.Mutter.RemoteDesktop) on the session bus, as a keyboard would send them.
// The compositor turns them into characters with the active input source's keymap, so a key means the
// same physical key whatever source is active.
class KeyInjector {
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

    // Opens a remote desktop session and starts it; the first key after the start can be lost, so it
    // presses Escape and waits half a second first. nullptr with the reason in `failure` when the
    // session bus or Mutter cannot be reached.
    static std::unique_ptr<KeyInjector> start(std::string& failure);

    ~KeyInjector();
    KeyInjector(const KeyInjector&) = delete;
    KeyInjector& operator=(const KeyInjector&) = delete;

    void setPace(Pace pace) { pace_ = pace; }
    Pace pace() const { return pace_; }

    // One key down or up; false with the reason in lastError() when Mutter refuses it.
    bool press(unsigned int code);
    bool release(unsigned int code);
    // Holds the modifiers, presses and releases the key, lets go of the modifiers, then waits the pace.
    // On GNOME a modifier's change reaches a GTK client directly while the key before it is still on
    // its way through the input method, so a modifier released or pressed right next to a key can
    // overtake it (ibus/ibus#2008): `modifierLead` keeps them apart.
    bool tap(unsigned int code, std::initializer_list<unsigned int> modifiers = {});
    // The US key that gives the printable ASCII character `c` (evdev code), and whether Shift is held.
    static std::optional<std::pair<unsigned int, bool>> usKey(char c);
    // One tap per printable ASCII character, space, or line break (Enter), with Shift where the US
    // layout needs it; false at the first character it has no key for, or that Mutter refuses.
    bool type(std::string_view ascii);

    const std::string& lastError() const { return lastError_; }

private:
    KeyInjector(GDBusConnection* bus, std::string session) : bus_(bus), session_(std::move(session)) {}

    bool notify(unsigned int code, bool pressed);
    void pause(int milliseconds);

    GDBusConnection* bus_;
    std::string session_;
    Pace pace_ = kFast;
    std::mt19937 random_{20261207};
    std::string lastError_;
};

}  // namespace tarvelo::wayland::testing
