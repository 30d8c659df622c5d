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

std::optional<std::pair<KeySym, bool>> TestKeyboard::usKey(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return std::make_pair(static_cast<KeySym>(c), false);
    if (c >= 'A' && c <= 'Z') return std::make_pair(static_cast<KeySym>(c - 'A' + 'a'), true);
    // The other keys, each unshifted and shifted.
    static constexpr std::pair<char, KeySym> kPunctuation[] = {
        {' ', XK_space},        {'`', XK_grave},        {'~', XK_grave},
        {'!', XK_1},            {'@', XK_2},            {'#', XK_3},             {'$', XK_4},
        {'%', XK_5},            {'^', XK_6},            {'&', XK_7},             {'*', XK_8},
        {'(', XK_9},            {')', XK_0},            {'-', XK_minus},         {'_', XK_minus},
        {'=', XK_equal},        {'+', XK_equal},        {'[', XK_bracketleft},   {'{', XK_bracketleft},
        {']', XK_bracketright}, {'}', XK_bracketright}, {'\\', XK_backslash},   {'|', XK_backslash},
        {';', XK_semicolon},    {':', XK_semicolon},    {'\'', XK_apostrophe},   {'"', XK_apostrophe},
        {',', XK_comma},        {'<', XK_comma},        {'.', XK_period},        {'>', XK_period},
        {'/', XK_slash},        {'?', XK_slash},
    };
    static constexpr std::string_view kShifted = "~!@#$%^&*()_+{}|:\"<>?";
    for (const auto& [character, keysym] : kPunctuation) {
        if (character == c) return std::make_pair(keysym, kShifted.find(c) != std::string_view::npos);
    }
    return std::nullopt;
}

void TestKeyboard::type(std::string_view ascii) {
    for (const char c : ascii) {
        const std::optional<std::pair<KeySym, bool>> key = usKey(c);
        if (!key) continue;
        if (key->second) {
            tap(key->first, {XK_Shift_L});
        } else {
            tap(key->first);
        }
    }
}

void TestKeyboard::lockGroup(unsigned int group) {
    XkbLockGroup(display_, XkbUseCoreKbd, group);
    XSync(display_, False);
}

}  // namespace tarvelo::desktop::testing
