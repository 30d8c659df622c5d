// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace tarvelo::desktop::testing {

void TestKeyboard::press(KeySym keysym) {
    XTestFakeKeyEvent(display_, keycode(keysym), True, CurrentTime);
    XSync(display_, False);
}

void TestKeyboard::release(KeySym keysym) {
    XTestFakeKeyEvent(display_, keycode(keysym), False, CurrentTime);
    XSync(display_, False);
}

void TestKeyboard::tap(KeySym keysym, std::initializer_list<KeySym> modifiers) {
    for (const KeySym modifier : modifiers) XTestFakeKeyEvent(display_, keycode(modifier), True, CurrentTime);
    XTestFakeKeyEvent(display_, keycode(keysym), True, CurrentTime);
    XTestFakeKeyEvent(display_, keycode(keysym), False, CurrentTime);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier) {
        XTestFakeKeyEvent(display_, keycode(*modifier), False, CurrentTime);
    }
    XSync(display_, False);
}

void TestKeyboard::type(std::string_view ascii) {
    for (const char c : ascii) tap(c == ' ' ? XK_space : static_cast<KeySym>(c));
}

void TestKeyboard::lockGroup(unsigned int group) {
    XkbLockGroup(display_, XkbUseCoreKbd, group);
    XSync(display_, False);
}

}  // namespace tarvelo::desktop::testing
