// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>

#include <initializer_list>
#include <string_view>

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
    // One tap per ASCII letter, digit or space.
    void type(std::string_view ascii);

    void lockGroup(unsigned int group);

private:
    Display* display_;
};

}  // namespace tarvelo::desktop::testing
