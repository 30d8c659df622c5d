// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>

#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

namespace tarvelo::desktop::testing {

// The user's hands: raw key codes pressed through XTest on the test's own connection (as the XTEST
// device, the same one the backend posts through), and the XKB group locked directly. Key codes come
// from keysyms of the first group, so a key means the same physical key whatever group is locked.
class TestKeyboard {
public:
    explicit TestKeyboard(Display* display) : display_(display) {}

    KeyCode keycode(KeySym keysym) const { return XKeysymToKeycode(display_, keysym); }

    void press(KeySym keysym);
    void release(KeySym keysym);
    // Holds the modifiers, presses and releases the key, lets go of the modifiers.
    void tap(KeySym keysym, std::initializer_list<KeySym> modifiers = {});
    // The US key that gives the printable ASCII character `c`, and whether Shift is held for it.
    static std::optional<std::pair<KeySym, bool>> usKey(char c);

    // One tap per printable ASCII character or space, with Shift where the US layout needs it; other
    // characters are left out.
    void type(std::string_view ascii);

    void lockGroup(unsigned int group);

private:
    Display* display_;
};

}  // namespace tarvelo::desktop::testing
