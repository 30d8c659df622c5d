// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard.h"

#include <glib.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <iterator>

namespace tarvelo::wayland::testing {
namespace {

// The unshifted and shifted characters of the US keys other than the letters, with their codes.
struct UsKey {
    char plain;
    char shifted;
    unsigned int code;
};
constexpr UsKey kUsKeys[] = {
    {'1', '!', KEY_1},          {'2', '@', KEY_2},          {'3', '#', KEY_3},         {'4', '$', KEY_4},
    {'5', '%', KEY_5},          {'6', '^', KEY_6},          {'7', '&', KEY_7},         {'8', '*', KEY_8},
    {'9', '(', KEY_9},          {'0', ')', KEY_0},          {'-', '_', KEY_MINUS},     {'=', '+', KEY_EQUAL},
    {'[', '{', KEY_LEFTBRACE},  {']', '}', KEY_RIGHTBRACE}, {';', ':', KEY_SEMICOLON}, {'\'', '"', KEY_APOSTROPHE},
    {'`', '~', KEY_GRAVE},      {'\\', '|', KEY_BACKSLASH}, {',', '<', KEY_COMMA},     {'.', '>', KEY_DOT},
    {'/', '?', KEY_SLASH},
};
// The letter keys in alphabetical order.
constexpr unsigned int kLetterKeys[] = {
    KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
    KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
};

}  // namespace

void Keyboard::pause(int milliseconds) {
    if (milliseconds > 0) g_usleep(static_cast<gulong>(milliseconds) * 1000);
}

bool Keyboard::tap(unsigned int code, std::initializer_list<unsigned int> modifiers) {
    bool delivered = true;
    const bool modified = modifiers.size() > 0;
    for (const unsigned int modifier : modifiers) delivered = delivered && press(modifier);
    if (modified) pause(pace_.modifierLead);
    delivered = delivered && press(code);
    pause(pace_.hold);
    delivered = release(code) && delivered;
    if (modified) pause(pace_.modifierLead);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier) {
        delivered = release(*modifier) && delivered;
    }
    int wait = pace_.interval;
    if (pace_.jitter > 0) wait += std::uniform_int_distribution<int>(-pace_.jitter, pace_.jitter)(random_);
    pause(std::max(wait - pace_.hold, 0));
    // The next key does not come right after a modifier changed either.
    if (modified) pause(pace_.modifierLead);
    return delivered;
}

std::optional<std::pair<unsigned int, bool>> Keyboard::usKey(char c) {
    if (c >= 'a' && c <= 'z') return std::pair{kLetterKeys[c - 'a'], false};
    if (c >= 'A' && c <= 'Z') return std::pair{kLetterKeys[c - 'A'], true};
    if (c == ' ') return std::pair{static_cast<unsigned int>(KEY_SPACE), false};
    if (c == '\n') return std::pair{static_cast<unsigned int>(KEY_ENTER), false};
    for (const UsKey& key : kUsKeys) {
        if (key.plain == c) return std::pair{key.code, false};
        if (key.shifted == c) return std::pair{key.code, true};
    }
    return std::nullopt;
}

bool Keyboard::type(std::string_view ascii) {
    for (const char c : ascii) {
        const std::optional<std::pair<unsigned int, bool>> key = usKey(c);
        if (!key) {
            lastError_ = std::string("no US key types '") + c + "'";
            return false;
        }
        const bool delivered = key->second ? tap(key->first, {KEY_LEFTSHIFT}) : tap(key->first);
        if (!delivered) return false;
    }
    return true;
}

}  // namespace tarvelo::wayland::testing
