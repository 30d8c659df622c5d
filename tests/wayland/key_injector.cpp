// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_injector.h"

#include <linux/input-event-codes.h>

namespace tarvelo::wayland::testing {
namespace {

constexpr const char* kMutter = "org.gnome.Mutter.RemoteDesktop";
constexpr const char* kMutterPath = "/org/gnome/Mutter/RemoteDesktop";
constexpr const char* kSessionInterface = "org.gnome.Mutter.RemoteDesktop.Session";
constexpr int kCallTimeout = 5000;

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

}  // namespace tarvelo::wayland::testing
