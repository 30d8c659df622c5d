// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_injector.h"

#include <linux/input-event-codes.h>

#include <algorithm>

namespace tarvelo::wayland::testing {
namespace {

constexpr const char* kMutter = "org.gnome.Mutter.RemoteDesktop";
constexpr const char* kMutterPath = "/org/gnome/Mutter/RemoteDesktop";
constexpr const char* kSessionInterface = "org.gnome.Mutter.RemoteDesktop.Session";
constexpr int kCallTimeout = 5000;

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

std::string errorText(GError* error) {
    std::string text = error != nullptr ? error->message : "unknown error";
    if (error != nullptr) g_error_free(error);
    return text;
}

}  // namespace

std::unique_ptr<KeyInjector> KeyInjector::start(std::string& failure) {
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (bus == nullptr) {
        failure = "no session bus: " + errorText(error);
        return nullptr;
    }
    GVariant* created = g_dbus_connection_call_sync(bus, kMutter, kMutterPath, kMutter, "CreateSession", nullptr,
                                                    G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeout,
                                                    nullptr, &error);
    if (created == nullptr) {
        failure = "Mutter's remote desktop refused a session: " + errorText(error);
        g_object_unref(bus);
        return nullptr;
    }
    const gchar* path = nullptr;
    g_variant_get(created, "(&o)", &path);
    std::unique_ptr<KeyInjector> injector(new KeyInjector(bus, path));
    g_variant_unref(created);

    GVariant* started = g_dbus_connection_call_sync(bus, kMutter, injector->session_.c_str(), kSessionInterface,
                                                    "Start", nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, kCallTimeout,
                                                    nullptr, &error);
    if (started == nullptr) {
        failure = "the remote desktop session did not start: " + errorText(error);
        return nullptr;
    }
    g_variant_unref(started);
    if (!injector->tap(KEY_ESC)) {
        failure = "the first key was refused: " + injector->lastError();
        return nullptr;
    }
    injector->pause(500);
    return injector;
}

KeyInjector::~KeyInjector() {
    GVariant* stopped = g_dbus_connection_call_sync(bus_, kMutter, session_.c_str(), kSessionInterface, "Stop",
                                                    nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, kCallTimeout, nullptr,
                                                    nullptr);
    if (stopped != nullptr) g_variant_unref(stopped);
    g_object_unref(bus_);
}

bool KeyInjector::notify(unsigned int code, bool pressed) {
    GError* error = nullptr;
    // The call waits for Mutter's answer, so that keys reach the compositor in the order they are sent.
    GVariant* answer = g_dbus_connection_call_sync(bus_, kMutter, session_.c_str(), kSessionInterface,
                                                   "NotifyKeyboardKeycode", g_variant_new("(ub)", code, pressed),
                                                   nullptr, G_DBUS_CALL_FLAGS_NONE, kCallTimeout, nullptr, &error);
    if (answer == nullptr) {
        lastError_ = "key " + std::to_string(code) + (pressed ? " down: " : " up: ") + errorText(error);
        return false;
    }
    g_variant_unref(answer);
    return true;
}

bool KeyInjector::press(unsigned int code) { return notify(code, true); }

bool KeyInjector::release(unsigned int code) { return notify(code, false); }

void KeyInjector::pause(int milliseconds) {
    if (milliseconds > 0) g_usleep(static_cast<gulong>(milliseconds) * 1000);
}

bool KeyInjector::tap(unsigned int code, std::initializer_list<unsigned int> modifiers) {
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

std::optional<std::pair<unsigned int, bool>> KeyInjector::usKey(char c) {
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

bool KeyInjector::type(std::string_view ascii) {
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
