// SPDX-License-Identifier: GPL-3.0-or-later
#include "kde_session.h"

#include <glib.h>
#include <linux/input-event-codes.h>

#include <memory>
#include <optional>

namespace tarvelo::kde::testing {
namespace {

constexpr gint64 kSwitchTimeout = 10 * G_USEC_PER_SEC;
// fcitx5 reports the change before KWin has the keymap it hands over; this margin covers the order.
constexpr gulong kKeymapSettle = 300 * 1000;

// Runs fcitx5-remote with `argument`; its output without the line break, or nullopt when it fails.
std::optional<std::string> fcitxRemote(const char* argument, const char* value = nullptr) {
    gchar* output = nullptr;
    gint status = 0;
    const gchar* argv[] = {"fcitx5-remote", argument, value, nullptr};
    if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr,
                      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr,
                      &output, nullptr, &status, nullptr)) {
        return std::nullopt;
    }
    std::unique_ptr<gchar, decltype(&g_free)> owned(output, g_free);
    if (!g_spawn_check_wait_status(status, nullptr) || output == nullptr) return std::nullopt;
    return std::string(g_strstrip(output));
}

bool waitForInputMethod(const std::string& wanted, std::string& failure) {
    const gint64 limit = g_get_monotonic_time() + kSwitchTimeout;
    std::string current;
    while ((current = currentInputMethod()) != wanted) {
        if (g_get_monotonic_time() >= limit) {
            failure = "fcitx5 did not make " + wanted + " current (it has " + (current.empty() ? "none" : current) + ")";
            return false;
        }
        g_usleep(50 * 1000);
    }
    g_usleep(kKeymapSettle);
    return true;
}

}  // namespace

std::string currentInputMethod() { return fcitxRemote("-n").value_or(""); }

bool selectInputMethod(const std::string& name, std::string& failure) {
    if (currentInputMethod() == name) return true;
    if (!fcitxRemote("-s", name.c_str())) {
        failure = "fcitx5-remote -s " + name + " failed";
        return false;
    }
    return waitForInputMethod(name, failure);
}

bool switchInputMethod(wayland::testing::Keyboard& keyboard, const std::string& expected, std::string& failure) {
    if (!keyboard.tap(KEY_SPACE, {KEY_LEFTCTRL})) {
        failure = "Ctrl+Space refused: " + keyboard.lastError();
        return false;
    }
    return waitForInputMethod(expected, failure);
}

}  // namespace tarvelo::kde::testing
