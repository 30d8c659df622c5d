// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's side of what fcitx5's module asks on the session bus, on a private bus of the test's own:
// the whole pipeline on the real Linux backend (Enchant, the letter model) behind the object the
// module calls, and a client that calls it as the module does and keeps a field's text as the
// application would.
#include <gio/gio.h>
#include <xkbcommon/xkbcommon.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "platform/linux/fcitx5/fcitx5_protocol.h"
#include "platform/linux/input_method/input_method_keys.h"
#include "text/utf8.h"

namespace tarvelo::desktop::testing {
namespace {

// The evdev code of the key that types a letter or a space on the US layout.
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

struct Answer {
    bool handled = false;
    std::vector<std::pair<std::uint32_t, std::string>> edits;
    std::string select;
};

// An application's field behind fcitx5 and the module's calls for it: the field's text and caret, a key
// the module lets pass typed into it, the answer's edits made in it.
class ModuleClient {
public:
    explicit ModuleClient(GDBusConnection* bus, std::uint64_t id) : bus_(bus), id_(id) {}

    // Presses and releases the key of `key` (a US letter or a space) in `inputMethod`, whose keymap
    // gives `keyText`; the answer to the press.
    Answer press(char key, std::string_view keyText, const std::string& inputMethod, std::uint32_t state = 0) {
        const std::u32string scalars = text::scalars(keyText);
        const std::uint32_t keysym = scalars.empty() ? 0 : xkb_utf32_to_keysym(scalars.front());
        Answer answer = call(inputMethod, keysym, evdevOf(key), state, false);
        call(inputMethod, keysym, evdevOf(key), state, true);
        if (!answer.handled && (state & key_state::kControl) == 0) text_ += scalars;
        for (const auto& [count, committed] : answer.edits) {
            text_.erase(text_.size() - std::min<std::size_t>(count, text_.size()));
            text_ += text::scalars(committed);
        }
        return answer;
    }
    // Types each key of `keys` on the US layout's positions; the answers in order.
    std::vector<Answer> type(std::string_view keys, std::string_view keyTexts, const std::string& inputMethod) {
        std::vector<Answer> answers;
        const std::u32string texts = text::scalars(keyTexts);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            answers.push_back(press(keys[i], text::fromScalars(texts.substr(i, 1)), inputMethod));
        }
        return answers;
    }

    void focusIn(const std::string& inputMethod) {
        g_dbus_connection_call(bus_, kFcitx5BusName, kFcitx5ObjectPath, kFcitx5Interface, "FocusIn",
                               g_variant_new("(ts)", static_cast<guint64>(id_), inputMethod.c_str()), nullptr,
                               G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
    }
    void setSecret(bool secret) { secret_ = secret; }
    // Keys went past Tarvelo: the module says so before the next one.
    void missed() {
        g_dbus_connection_call(bus_, kFcitx5BusName, kFcitx5ObjectPath, kFcitx5Interface, "Missed",
                               g_variant_new("(t)", static_cast<guint64>(id_)), nullptr, G_DBUS_CALL_FLAGS_NONE, -1,
                               nullptr, nullptr, nullptr);
    }
    std::string text() const { return text::fromScalars(text_); }

private:
    Answer call(const std::string& inputMethod, std::uint32_t keysym, std::uint32_t evdevCode, std::uint32_t state,
                bool release) {
        // The text goes with a key when it differs from what went last, as the module sends it.
        const std::string now = secret_ ? std::string() : text::fromScalars(text_);
        const bool changed = !secret_ && (!sent_ || *sent_ != now);
        if (changed) sent_ = now;
        const auto cursor = static_cast<guint32>(text_.size());
        GVariant* parameters =
            g_variant_new("(tsuuubbbbsuus)", static_cast<guint64>(id_), inputMethod.c_str(), keysym, evdevCode,
                          state, release, secret_, TRUE, changed, changed ? now.c_str() : "", changed ? cursor : 0U,
                          changed ? cursor : 0U, "dbus");
        GVariant* reply = nullptr;
        bool done = false;
        struct Pending {
            GVariant** reply;
            bool* done;
        } pending{&reply, &done};
        g_dbus_connection_call(
            bus_, kFcitx5BusName, kFcitx5ObjectPath, kFcitx5Interface, "ProcessKey", parameters,
            G_VARIANT_TYPE("(ba(us)s)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto* waiting = static_cast<Pending*>(data);
                *waiting->reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
                *waiting->done = true;
            },
            &pending);
        // Tarvelo answers from this thread's main loop.
        iterateUntil([&] { return done; }, 10.0);
        Answer answer;
        if (reply == nullptr) {
            ADD_FAILURE() << "no answer to ProcessKey";
            return answer;
        }
        gboolean handled = FALSE;
        GVariantIter* edits = nullptr;
        const gchar* select = nullptr;
        g_variant_get(reply, "(ba(us)&s)", &handled, &edits, &select);
        answer.handled = handled != FALSE;
        answer.select = select;
        guint32 count = 0;
        const gchar* committed = nullptr;
        while (g_variant_iter_loop(edits, "(u&s)", &count, &committed)) answer.edits.emplace_back(count, committed);
        g_variant_iter_free(edits);
        g_variant_unref(reply);
        return answer;
    }

    GDBusConnection* bus_;
    std::uint64_t id_;
    std::u32string text_;
    std::optional<std::string> sent_;
    bool secret_ = false;
};

using Edits = std::vector<std::pair<std::uint32_t, std::string>>;

// The private bus, Tarvelo on it, and the module's connection, made once for the suite.
struct PrivateSession {
    PrivateSession() {
        testBus = g_test_dbus_new(G_TEST_DBUS_NONE);
        g_test_dbus_up(testBus);
        tarvelo = std::make_unique<DesktopTarvelo>(KeyboardBackend::fcitx5);
        module = g_dbus_connection_new_for_address_sync(
            g_test_dbus_get_bus_address(testBus),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        iterateUntil([&] { return tarvelo->desktop.fcitx5()->ownsName(); });
    }
    ~PrivateSession() {
        if (module != nullptr) g_object_unref(module);
        tarvelo.reset();
        g_test_dbus_down(testBus);
        g_object_unref(testBus);
    }
    GTestDBus* testBus = nullptr;
    std::unique_ptr<DesktopTarvelo> tarvelo;
    GDBusConnection* module = nullptr;
};

PrivateSession* g_session = nullptr;

class Fcitx5ProtocolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { g_session = new PrivateSession; }
    static void TearDownTestSuite() {
        delete g_session;
        g_session = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(g_session->module, nullptr);
        ASSERT_EQ(g_session->tarvelo->desktop.backend(), KeyboardBackend::fcitx5);
        ASSERT_TRUE(g_session->tarvelo->desktop.fcitx5()->ownsName());
        ASSERT_TRUE(g_session->tarvelo->app.keyboardMonitor.isRunning().get());
        // Each test starts with nothing learned (an undone correction teaches its word).
        const std::vector<std::string> learned = g_session->tarvelo->exceptions.words().get();
        for (const std::string& word : learned) g_session->tarvelo->exceptions.remove(word);
    }
    void TearDown() override {
        // Past the undo window of anything this test corrected.
        g_session->tarvelo->app.keyboardMonitor.restartIfPossible();
    }
    static bool statusBecomes(const std::string& expected) {
        return iterateUntil([&] { return g_session->tarvelo->app.engine.statusMessage().get() == expected; });
    }
    // Each test's field is a new input context.
    ModuleClient newClient() { return ModuleClient(g_session->module, ++lastClient_); }

    static inline std::uint64_t lastClient_ = 0;
};

TEST_F(Fcitx5ProtocolTest, WrongLayoutWordIsReplacedInTheAnswerToItsDelimiterInEitherLayout) {
    ModuleClient client = newClient();
    client.focusIn("keyboard-us");
    // Each letter comes back as a commit of its text, the channel the correction takes too.
    const std::vector<Answer> letters = client.type("ghbdtn", "ghbdtn", "keyboard-us");
    ASSERT_EQ(letters.size(), 6U);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        EXPECT_TRUE(letters[i].handled);
        EXPECT_EQ(letters[i].edits, (Edits{{0, std::string(1, "ghbdtn"[i])}}));
    }
    const Answer space = client.press(' ', " ", "keyboard-us");
    // The space is taken into the one edit, in the same answer: the client never sees "ghbdtn ".
    EXPECT_TRUE(space.handled);
    EXPECT_EQ(space.edits, (Edits{{6, "привет "}}));
    EXPECT_EQ(client.text(), "привет ");
    EXPECT_EQ(g_session->tarvelo->desktop.inputContext().selectedKeyboardInputSource(), "us");
    ASSERT_TRUE(statusBecomes("Last word corrected"));

    // Ctrl+Z puts the typed word back, and fcitx5 does not pass the chord on.
    const Answer undo = client.press('z', "z", "keyboard-us", key_state::kControl);
    EXPECT_TRUE(undo.handled);
    EXPECT_EQ(client.text(), "ghbdtn ");
    EXPECT_EQ(g_session->tarvelo->app.engine.statusMessage().get(), "Correction undone");

    // The keys of the Russian layout's input method: "hello" typed on it.
    ModuleClient russian = newClient();
    russian.focusIn("keyboard-ru");
    russian.type("hello ", "руддщ ", "keyboard-ru");
    EXPECT_EQ(russian.text(), "hello ");
    EXPECT_EQ(g_session->tarvelo->desktop.inputContext().selectedKeyboardInputSource(), "ru");
}

TEST_F(Fcitx5ProtocolTest, LayoutSwitchAfterACorrectionIsAskedOfFcitx5ForTheFocusedClient) {
    struct Selected {
        std::uint64_t client = 0;
        std::string inputMethod;
    } selected;
    const guint subscription = g_dbus_connection_signal_subscribe(
        g_session->module, nullptr, kFcitx5Interface, "Select", kFcitx5ObjectPath, nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE,
        +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
            gpointer data) {
            auto* seen = static_cast<Selected*>(data);
            guint64 client = 0;
            const gchar* inputMethod = nullptr;
            g_variant_get(parameters, "(t&s)", &client, &inputMethod);
            seen->client = client;
            seen->inputMethod = inputMethod;
        },
        &selected, nullptr);
    g_session->tarvelo->settings.switchLayoutAfterCorrection.set(true);
    ModuleClient client = newClient();
    client.focusIn("keyboard-us");
    client.type("ghbdtn ", "ghbdtn ", "keyboard-us");
    EXPECT_EQ(client.text(), "привет ");
    EXPECT_TRUE(iterateUntil([&] { return !selected.inputMethod.empty(); }));
    g_session->tarvelo->settings.switchLayoutAfterCorrection.set(false);
    g_dbus_connection_signal_unsubscribe(g_session->module, subscription);
    EXPECT_EQ(selected.inputMethod, "keyboard-ru");
    EXPECT_EQ(selected.client, lastClient_);
}

TEST_F(Fcitx5ProtocolTest, ACommandFromTheMenuReachesTheFocusedClientAsASignal) {
    struct Seen {
        std::uint64_t client = 0;
        Edits edits;
    } seen;
    const guint subscription = g_dbus_connection_signal_subscribe(
        g_session->module, nullptr, kFcitx5Interface, "Edits", kFcitx5ObjectPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        +[](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
            gpointer data) {
            auto* edits = static_cast<Seen*>(data);
            guint64 client = 0;
            GVariantIter* list = nullptr;
            g_variant_get(parameters, "(ta(us))", &client, &list);
            edits->client = client;
            guint32 count = 0;
            const gchar* committed = nullptr;
            while (g_variant_iter_loop(list, "(u&s)", &count, &committed)) edits->edits.emplace_back(count, committed);
            g_variant_iter_free(list);
        },
        &seen, nullptr);
    ModuleClient client = newClient();
    client.focusIn("keyboard-us");
    client.type("ghbdtn", "ghbdtn", "keyboard-us");
    // "Convert last word" from Tarvelo's menu: no key is being handled.
    g_session->tarvelo->app.keyboardMonitor.convertLastWord();
    EXPECT_TRUE(iterateUntil([&] { return !seen.edits.empty(); }));
    g_dbus_connection_signal_unsubscribe(g_session->module, subscription);
    EXPECT_EQ(seen.client, lastClient_);
    EXPECT_EQ(seen.edits, (Edits{{6, "привет"}}));
}

// When Tarvelo answered too late, the module let keys pass and says so before the next key: the word
// Tarvelo was following is broken off, and the text comes afresh.
TEST_F(Fcitx5ProtocolTest, KeysThatWentPastTarveloEndTheWordItWasFollowing) {
    ModuleClient client = newClient();
    client.focusIn("keyboard-us");
    client.type("vbh", "vbh", "keyboard-us");
    client.missed();
    client.type("ghbdtn ", "ghbdtn ", "keyboard-us");
    EXPECT_EQ(client.text(), "vbhпривет ");
}

TEST_F(Fcitx5ProtocolTest, PasswordFieldsAndOtherInputMethodsAreLeftAlone) {
    ModuleClient password = newClient();
    password.setSecret(true);
    password.focusIn("keyboard-us");
    for (const Answer& answer : password.type("ghbdtn ", "ghbdtn ", "keyboard-us")) {
        EXPECT_FALSE(answer.handled);
        EXPECT_TRUE(answer.edits.empty());
    }
    EXPECT_EQ(password.text(), "ghbdtn ");
    EXPECT_TRUE(g_session->tarvelo->desktop.accessibility().isSecureInputFocused());

    // An input method that is not a keyboard layout of Tarvelo's keeps its keys.
    ModuleClient other = newClient();
    other.focusIn("pinyin");
    for (const Answer& answer : other.type("ghbdtn ", "ghbdtn ", "pinyin")) {
        EXPECT_FALSE(answer.handled);
        EXPECT_TRUE(answer.edits.empty());
    }
    EXPECT_EQ(other.text(), "ghbdtn ");
}

}  // namespace
}  // namespace tarvelo::desktop::testing
