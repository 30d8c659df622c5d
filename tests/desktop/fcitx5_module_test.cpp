// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's fcitx5 module in a real fcitx5 on a private session bus: fcitx5 started with the build's
// module and its D-Bus frontend (what GTK and Qt applications talk to with GTK_IM_MODULE=fcitx), Tarvelo
// serving the module from this process, and a client of the frontend that keeps a field's text as an
// application would: it types the keys fcitx5 lets pass, applies fcitx5's deletions and commits, and
// tells fcitx5 its surrounding text after every change.
#include <gio/gio.h>
#include <glib/gstdio.h>
#include <xkbcommon/xkbcommon.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "text/utf8.h"

namespace tarvelo::desktop::testing {
namespace {

constexpr const char* kFrontend = "org.fcitx.Fcitx.InputContext1";
constexpr std::uint64_t kCapabilitySurroundingText = 1ULL << 6;
constexpr std::uint64_t kCapabilityPassword = 1ULL << 3;
constexpr std::uint32_t kControlMask = 1U << 2;

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

// A field of an application that uses fcitx5's D-Bus frontend.
class FrontendField {
public:
    FrontendField(GDBusConnection* bus, std::uint64_t capabilities) : bus_(bus) {
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
        call("SetCapability", g_variant_new("(t)", static_cast<guint64>(capabilities)));
        call("FocusIn", nullptr);
        sendText();
    }
    ~FrontendField() {
        if (subscription_ != 0) g_dbus_connection_signal_unsubscribe(bus_, subscription_);
        if (!path_.empty()) call("DestroyIC", nullptr);
    }
    FrontendField(const FrontendField&) = delete;
    FrontendField& operator=(const FrontendField&) = delete;

    bool isOpen() const { return !path_.empty(); }

    // Presses and releases the key of `key` (a US letter or a space); `keyText` is what the client's
    // keymap gives it.
    void press(char key, std::string_view keyText, std::uint32_t state = 0) {
        const std::u32string scalars = text::scalars(keyText);
        const std::uint32_t keysym = scalars.empty() ? 0 : xkb_utf32_to_keysym(scalars.front());
        const bool handled = processKey(keysym, evdevOf(key) + 8, state, false);
        processKey(keysym, evdevOf(key) + 8, state, true);
        if (!handled && (state & kControlMask) == 0) {
            text_ += scalars;
            sendText();
        }
    }
    void type(std::string_view keys) {
        for (const char key : keys) press(key, std::string_view(&key, 1));
    }
    void setInputMethod(const char* name) {
        GVariant* reply = callAndWait(bus_, "org.fcitx.Fcitx5", "/controller", "org.fcitx.Fcitx.Controller1",
                                      "SetCurrentIM", g_variant_new("(s)", name));
        if (reply != nullptr) g_variant_unref(reply);
    }
    std::string text() const { return text::fromScalars(text_); }

private:
    bool processKey(std::uint32_t keysym, std::uint32_t keycode, std::uint32_t state, bool release) {
        GVariant* reply = call("ProcessKeyEvent", g_variant_new("(uuubu)", keysym, keycode, state, release, 0U));
        if (reply == nullptr) return false;
        gboolean handled = FALSE;
        g_variant_get(reply, "(b)", &handled);
        g_variant_unref(reply);
        return handled != FALSE;
    }
    GVariant* call(const char* method, GVariant* parameters) {
        return callAndWait(bus_, "org.fcitx.Fcitx5", path_.c_str(), kFrontend, method, parameters);
    }
    void sendText() {
        const auto cursor = static_cast<guint32>(text_.size());
        GVariant* reply = call("SetSurroundingText", g_variant_new("(suu)", text().c_str(), cursor, cursor));
        if (reply != nullptr) g_variant_unref(reply);
    }
    void onSignal(std::string_view signal, GVariant* parameters) {
        if (signal == "CommitString") {
            const gchar* committed = nullptr;
            g_variant_get(parameters, "(&s)", &committed);
            text_ += text::scalars(committed);
            sendText();
        } else if (signal == "DeleteSurroundingText") {
            gint32 offset = 0;
            guint32 count = 0;
            g_variant_get(parameters, "(iu)", &offset, &count);
            const std::size_t start = text_.size() - std::min<std::size_t>(static_cast<std::size_t>(-offset), text_.size());
            text_.erase(start, count);
            sendText();
        }
    }

    GDBusConnection* bus_;
    std::string path_;
    guint subscription_ = 0;
    std::u32string text_;
};

// The private bus with fcitx5 on it (the build's module, keyboard-us and keyboard-ru as its input
// methods), Tarvelo, and the application's connection; made once for the suite.
struct Fcitx5Session {
    Fcitx5Session() {
        gchar* program = g_find_program_in_path("fcitx5");
        if (program == nullptr) {
            failure = "fcitx5 is not installed";
            return;
        }
        home = g_dir_make_tmp("tarvelo-fcitx5-XXXXXX", nullptr);
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
    ~Fcitx5Session() {
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
    bool fcitx5Owned() {
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
    void startTarvelo() {
        tarvelo = std::make_unique<DesktopTarvelo>(KeyboardBackend::fcitx5);
        iterateUntil([&] { return tarvelo->desktop.fcitx5()->ownsName(); });
        // The module hears of the name's new owner.
        iterateFor(0.2);
    }

    std::string failure;
    std::string home;
    GTestDBus* testBus = nullptr;
    GPid fcitx5 = 0;
    GDBusConnection* application = nullptr;
    std::unique_ptr<DesktopTarvelo> tarvelo;
};

Fcitx5Session* g_session = nullptr;

class Fcitx5ModuleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { g_session = new Fcitx5Session; }
    static void TearDownTestSuite() {
        delete g_session;
        g_session = nullptr;
    }
    void SetUp() override {
        if (g_session->failure == "fcitx5 is not installed") {
            const char* required = std::getenv("TARVELO_REQUIRE_DESKTOP");
            if (required != nullptr && std::string(required) == "1") FAIL() << g_session->failure;
            GTEST_SKIP() << g_session->failure;
        }
        ASSERT_TRUE(g_session->failure.empty()) << g_session->failure;
        tarvelo_ = g_session->tarvelo.get();
        ASSERT_TRUE(tarvelo_->app.keyboardMonitor.isRunning().get());
        const std::vector<std::string> learned = tarvelo_->exceptions.words().get();
        for (const std::string& word : learned) tarvelo_->exceptions.remove(word);
    }
    void TearDown() override {
        if (tarvelo_ != nullptr) tarvelo_->app.keyboardMonitor.restartIfPossible();
    }
    bool statusBecomes(const std::string& expected) {
        return iterateUntil([&] { return tarvelo_->app.engine.statusMessage().get() == expected; });
    }

    DesktopTarvelo* tarvelo_ = nullptr;
};

TEST_F(Fcitx5ModuleTest, WrongLayoutWordIsCorrectedThroughFcitx5AndCtrlZPutsItBack) {
    FrontendField field(g_session->application, kCapabilitySurroundingText);
    ASSERT_TRUE(field.isOpen());
    field.type("ghbdtn ");
    EXPECT_EQ(field.text(), "привет ");
    ASSERT_TRUE(statusBecomes("Last word corrected"));
    field.press('z', "z", kControlMask);
    EXPECT_EQ(field.text(), "ghbdtn ");

    // On keyboard-ru the same keys are Russian, and an English word typed on them is corrected.
    field.setInputMethod("keyboard-ru");
    ASSERT_TRUE(iterateUntil([&] { return tarvelo_->desktop.inputContext().selectedKeyboardInputSource() == "ru"; }));
    for (const auto& [key, text] : {std::pair{'h', "р"}, {'e', "у"}, {'l', "д"}, {'l', "д"}, {'o', "щ"}, {' ', " "}}) {
        field.press(key, text);
    }
    EXPECT_EQ(field.text(), "ghbdtn hello ");
    field.setInputMethod("keyboard-us");
}

TEST_F(Fcitx5ModuleTest, APasswordFieldIsLeftAlone) {
    FrontendField field(g_session->application, kCapabilitySurroundingText | kCapabilityPassword);
    ASSERT_TRUE(field.isOpen());
    field.type("ghbdtn ");
    EXPECT_EQ(field.text(), "ghbdtn ");
}

TEST_F(Fcitx5ModuleTest, KeysPassUnchangedWhileTarveloIsNotRunning) {
    g_session->tarvelo.reset();
    tarvelo_ = nullptr;
    // fcitx5 hears that the name has gone.
    iterateFor(0.2);
    {
        FrontendField field(g_session->application, kCapabilitySurroundingText);
        ASSERT_TRUE(field.isOpen());
        field.type("ghbdtn ");
        EXPECT_EQ(field.text(), "ghbdtn ");
    }
    // And once Tarvelo is back, the module finds it again.
    g_session->startTarvelo();
    tarvelo_ = g_session->tarvelo.get();
    FrontendField field(g_session->application, kCapabilitySurroundingText);
    field.type("ghbdtn ");
    EXPECT_EQ(field.text(), "привет ");
}

}  // namespace
}  // namespace tarvelo::desktop::testing
