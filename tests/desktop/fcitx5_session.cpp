// SPDX-License-Identifier: GPL-3.0-or-later
#include "fcitx5_session.h"

#include <glib/gstdio.h>
#include <xkbcommon/xkbcommon.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include "desktop_environment.h"
#include "text/utf8.h"

namespace tarvelo::desktop::testing {
namespace {

constexpr const char* kFrontend = "org.fcitx.Fcitx.InputContext1";

std::uint32_t evdevOf(char key) {
    constexpr std::string_view kRows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    constexpr std::uint32_t kRowStarts[] = {16, 30, 44};
    if (key == ' ') return 57;
    for (std::size_t row = 0; row < 3; ++row) {
        if (const std::size_t at = kRows[row].find(key); at != std::string_view::npos) {
            return kRowStarts[row] + static_cast<std::uint32_t>(at);
        }
    }
    return 0;
}

// Calls a method and runs the main loop (where Tarvelo answers fcitx5) until the reply is in.
GVariant* callAndWait(GDBusConnection* bus, const char* destination, const char* path, const char* interface,
                      const char* method, GVariant* parameters) {
    struct Pending {
        GVariant* reply = nullptr;
        bool done = false;
    } pending;
    g_dbus_connection_call(
        bus, destination, path, interface, method, parameters, nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            auto* waiting = static_cast<Pending*>(data);
            waiting->reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
            waiting->done = true;
        },
        &pending);
    iterateUntil([&] { return pending.done; }, 10.0);
    return pending.reply;
}

}  // namespace

FrontendField::FrontendField(GDBusConnection* bus, std::uint64_t capabilities) : bus_(bus) {
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a(ss)"));
    g_variant_builder_add(&properties, "(ss)", "program", "tarvelo-test-field");
    GVariant* reply = callAndWait(bus_, "org.fcitx.Fcitx5", "/org/freedesktop/portal/inputmethod",
                                  "org.fcitx.Fcitx.InputMethod1", "CreateInputContext",
                                  g_variant_new("(a(ss))", &properties));
    if (reply == nullptr) return;
    const gchar* path = nullptr;
    g_variant_get(reply, "(&o@ay)", &path, nullptr);
    path_ = path;
    g_variant_unref(reply);
    subscription_ = g_dbus_connection_signal_subscribe(
        bus_, nullptr, kFrontend, nullptr, path_.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* signal, GVariant* parameters,
            gpointer data) { static_cast<FrontendField*>(data)->onSignal(signal, parameters); },
        this, nullptr);
    if (GVariant* answer = call("SetCapability", g_variant_new("(t)", static_cast<guint64>(capabilities)))) {
        g_variant_unref(answer);
    }
    if (GVariant* answer = call("FocusIn", nullptr)) g_variant_unref(answer);
    sendText();
}

FrontendField::~FrontendField() {
    if (subscription_ != 0) g_dbus_connection_signal_unsubscribe(bus_, subscription_);
    if (!path_.empty()) {
        if (GVariant* answer = call("DestroyIC", nullptr)) g_variant_unref(answer);
    }
}

void FrontendField::press(char key, std::string_view keyText, std::uint32_t state) {
    const std::u32string scalars = text::scalars(keyText);
    const std::uint32_t keysym = scalars.empty() ? 0 : xkb_utf32_to_keysym(scalars.front());
    const bool handled = processKey(keysym, evdevOf(key) + 8, state, false);
    processKey(keysym, evdevOf(key) + 8, state, true);
    if (!handled && (state & kControlMask) == 0) {
        text_ += scalars;
        sendText();
    }
}

void FrontendField::type(std::string_view keys) {
    for (const char key : keys) press(key, std::string_view(&key, 1));
}

void FrontendField::setInputMethod(const char* name) {
    GVariant* reply = callAndWait(bus_, "org.fcitx.Fcitx5", "/controller", "org.fcitx.Fcitx.Controller1",
                                  "SetCurrentIM", g_variant_new("(s)", name));
    if (reply != nullptr) g_variant_unref(reply);
}

std::string FrontendField::text() const { return text::fromScalars(text_); }

bool FrontendField::processKey(std::uint32_t keysym, std::uint32_t keycode, std::uint32_t state, bool release) {
    GVariant* reply = call("ProcessKeyEvent", g_variant_new("(uuubu)", keysym, keycode, state, release, 0U));
    if (reply == nullptr) return false;
    gboolean handled = FALSE;
    g_variant_get(reply, "(b)", &handled);
    g_variant_unref(reply);
    return handled != FALSE;
}

GVariant* FrontendField::call(const char* method, GVariant* parameters) {
    return callAndWait(bus_, "org.fcitx.Fcitx5", path_.c_str(), kFrontend, method, parameters);
}

void FrontendField::sendText() {
    if (!reportsText_) return;
    const auto cursor = static_cast<guint32>(text_.size());
    GVariant* reply = call("SetSurroundingText", g_variant_new("(suu)", text().c_str(), cursor, cursor));
    if (reply != nullptr) g_variant_unref(reply);
}

void FrontendField::onSignal(std::string_view signal, GVariant* parameters) {
    if (signal == "CommitString") {
        const gchar* committed = nullptr;
        g_variant_get(parameters, "(&s)", &committed);
        text_ += text::scalars(committed);
        lastCommitAt_ = g_get_monotonic_time();
        sendText();
    } else if (signal == "DeleteSurroundingText") {
        gint32 offset = 0;
        guint32 count = 0;
        g_variant_get(parameters, "(iu)", &offset, &count);
        const std::size_t start =
            text_.size() - std::min<std::size_t>(static_cast<std::size_t>(-static_cast<std::int64_t>(offset)), text_.size());
        text_.erase(start, count);
        sendText();
    }
}

Fcitx5Session::Fcitx5Session() {
    gchar* program = g_find_program_in_path("fcitx5");
    if (program == nullptr) {
        failure = "fcitx5 is not installed";
        return;
    }
    gchar* made = g_dir_make_tmp("tarvelo-fcitx5-XXXXXX", nullptr);
    home = made != nullptr ? made : "";
    g_free(made);
    const std::string config = home + "/config";
    g_mkdir_with_parents((config + "/fcitx5").c_str(), 0700);
    std::ofstream(config + "/fcitx5/profile") << "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=keyboard-us\n\n"
                                                 "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n"
                                                 "[Groups/0/Items/1]\nName=keyboard-ru\nLayout=\n\n"
                                                 "[GroupOrder]\n0=Default\n";
    testBus = g_test_dbus_new(G_TEST_DBUS_NONE);
    g_test_dbus_up(testBus);
    gchar** environment = g_get_environ();
    environment = g_environ_setenv(environment, "XDG_CONFIG_HOME", config.c_str(), TRUE);
    environment = g_environ_setenv(environment, "XDG_DATA_HOME", (home + "/data").c_str(), TRUE);
    environment = g_environ_setenv(environment, "FCITX_ADDON_DIRS",
                                   TARVELO_FCITX5_BUILD_DIR "/lib:" TARVELO_FCITX5_SYSTEM_ADDON_DIR, TRUE);
    environment = g_environ_setenv(environment, "XDG_DATA_DIRS", TARVELO_FCITX5_BUILD_DIR "/share:/usr/share", TRUE);
    environment = g_environ_unsetenv(environment, "DISPLAY");
    environment = g_environ_unsetenv(environment, "WAYLAND_DISPLAY");
    gchar* argv[] = {program, const_cast<gchar*>("--disable=all"),
                     const_cast<gchar*>("--enable=dbus,dbusfrontend,keyboard,tarvelo"), nullptr};
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv, environment, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &fcitx5, &error)) {
        failure = std::string("fcitx5 did not start: ") + error->message;
        g_error_free(error);
    }
    g_strfreev(environment);
    g_free(program);
    application = g_dbus_connection_new_for_address_sync(
        g_test_dbus_get_bus_address(testBus),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    if (failure.empty() && !iterateUntil([&] { return fcitx5Owned(); }, 20.0)) failure = "fcitx5 never took its name";
    startTarvelo();
}

Fcitx5Session::~Fcitx5Session() {
    tarvelo.reset();
    if (application != nullptr) g_object_unref(application);
    if (fcitx5 != 0) {
        kill(fcitx5, SIGTERM);
        g_spawn_close_pid(fcitx5);
    }
    if (testBus != nullptr) {
        g_test_dbus_down(testBus);
        g_object_unref(testBus);
    }
    if (!home.empty()) {
        const std::string command = "rm -rf '" + home + "'";
        [[maybe_unused]] const int status = std::system(command.c_str());
    }
}

bool Fcitx5Session::fcitx5Owned() {
    GVariant* reply = g_dbus_connection_call_sync(application, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner",
                                                  g_variant_new("(s)", "org.fcitx.Fcitx5"), nullptr,
                                                  G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    return owned != FALSE;
}

void Fcitx5Session::startTarvelo() {
    tarvelo = std::make_unique<DesktopTarvelo>(KeyboardBackend::fcitx5);
    iterateUntil([&] { return tarvelo->desktop.fcitx5()->ownsName(); });
    // The module hears of the name's new owner; the dictionaries are loaded.
    iterateFor(0.2);
}

}  // namespace tarvelo::desktop::testing
