// SPDX-License-Identifier: GPL-3.0-or-later
#include "kde_session.h"

#include <gio/gio.h>
#include <glib.h>
#include <linux/input-event-codes.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "tarvelo_configuration.h"
#include "wayland_field.h"

namespace tarvelo::kde::testing {
namespace {

constexpr gint64 kSwitchTimeout = 10 * G_USEC_PER_SEC;
// fcitx5 reports the change before KWin has the keymap it hands over; this margin covers the order.
constexpr gulong kKeymapSettle = 300 * 1000;
// Tarvelo loads its dictionaries and models before it takes its bus name.
constexpr gint64 kTarveloStartTimeout = 30 * G_USEC_PER_SEC;
// The name Tarvelo's fcitx5 backend owns on the session bus, where the module looks for it.
constexpr const char* kTarveloBusName = "dev.brinmoor.Tarvelo.Fcitx5";

bool hasOwner(GDBusConnection* bus, const char* name) {
    GVariant* answer = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                   "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", name),
                                                   G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
    if (answer == nullptr) return false;
    gboolean owned = FALSE;
    g_variant_get(answer, "(b)", &owned);
    g_variant_unref(answer);
    return owned != FALSE;
}

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

std::unique_ptr<TarveloProcess> TarveloProcess::start(const std::string& program, std::string& failure) {
    if (access(program.c_str(), X_OK) != 0) {
        failure = "the session's user cannot run " + program;
        return nullptr;
    }
    if (!wayland::testing::markTarveloWelcomeDone(failure)) return nullptr;
    std::unique_ptr<GDBusConnection, decltype(&g_object_unref)> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr),
                                                                     g_object_unref);
    if (bus == nullptr) {
        failure = "no session bus";
        return nullptr;
    }
    const gchar* argv[] = {program.c_str(), "--fcitx5", nullptr};
    GPid pid = 0;
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid,
                       &error)) {
        failure = "cannot start " + program + ": " + error->message;
        g_error_free(error);
        return nullptr;
    }
    std::unique_ptr<TarveloProcess> tarvelo(new TarveloProcess(pid));
    const gint64 limit = g_get_monotonic_time() + kTarveloStartTimeout;
    while (!hasOwner(bus.get(), kTarveloBusName)) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            tarvelo->pid_ = 0;
            failure = program + " --fcitx5 ended before it took " + kTarveloBusName + " (status " +
                      std::to_string(status) + ")";
            return nullptr;
        }
        if (g_get_monotonic_time() >= limit) {
            failure = program + " --fcitx5 did not take " + std::string(kTarveloBusName) + " in time";
            return nullptr;
        }
        g_usleep(50 * 1000);
    }
    return tarvelo;
}

bool warmUpTarvelo(wayland::testing::Keyboard& keyboard, std::string& failure) {
    using wayland::testing::WaylandField;
    struct Word {
        const char* inputMethod;
        const char* keys;
        const char* corrected;
    };
    for (const Word word : {Word{kEnglish, "ghbdtn ", "привет "}, Word{kRussian, "hello ", "hello "}}) {
        bool corrected = false;
        for (int attempt = 0; attempt < 4 && !corrected; ++attempt) {
            if (attempt > 0) g_usleep(3500 * 1000);
            std::unique_ptr<WaylandField> field;
            if (!selectInputMethod(word.inputMethod, failure) ||
                (field = WaylandField::start(
                     {wayland::testing::Toolkit::qt6, false, wayland::testing::Desktop::kde}, failure)) == nullptr) {
                failure = "warming Tarvelo up: " + failure;
                return false;
            }
            if (!keyboard.type(word.keys)) {
                failure = "warming Tarvelo up: " + keyboard.lastError();
                return false;
            }
            corrected = field->textWhenItReads(word.corrected, 2000) == word.corrected;
        }
        if (!corrected) {
            failure = std::string("Tarvelo did not correct \"") + word.keys + "\" with " + word.inputMethod +
                      " in four tries: is fcitx5's Tarvelo module loaded?";
            return false;
        }
    }
    return true;
}

TarveloProcess::~TarveloProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace tarvelo::kde::testing
