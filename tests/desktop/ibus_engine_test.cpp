// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo as the IBus input method: an ibus-daemon of its own on the test display, the engines of the
// build's component served by this process, and a field that talks to IBus (GTK_IM_MODULE=ibus).
// Keys are typed through XTest, as in the X11 tests; the field is read back through its toolkit.

// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <ibus.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "ibus_daemon.h"
#include "test_keyboard.h"
#include "text_field_program.h"

namespace tarvelo::desktop::testing {
namespace {

std::string withoutMarks(std::string marked) {
    std::erase(marked, '|');
    return marked;
}

// The daemon, the engines and the user's keyboard, shared by the suite: IBus is started once.
struct IbusSession {
    IbusDaemon daemon;
    std::unique_ptr<Display, decltype(&XCloseDisplay)> user{XOpenDisplay(nullptr), &XCloseDisplay};
    std::unique_ptr<TestKeyboard> keyboard = std::make_unique<TestKeyboard>(user.get());
    std::unique_ptr<DesktopTarvelo> tarvelo =
        daemon.failure().empty() ? std::make_unique<DesktopTarvelo>(KeyboardBackend::ibus) : nullptr;
};

IbusSession* g_session = nullptr;

class IbusEngineTest : public ::testing::TestWithParam<Toolkit> {
protected:
    static void TearDownTestSuite() {
        delete g_session;
        g_session = nullptr;
    }

    void SetUp() override {
        TARVELO_REQUIRE_DESKTOP();
        if (g_session == nullptr) g_session = new IbusSession;
        ASSERT_TRUE(g_session->daemon.failure().empty()) << g_session->daemon.failure();
        session_ = g_session;
        tarvelo_ = session_->tarvelo.get();
        ASSERT_EQ(tarvelo_->desktop.backend(), KeyboardBackend::ibus);
        ASSERT_TRUE(tarvelo_->app.keyboardMonitor.isRunning().get());
        // Each test starts with nothing learned and nothing to undo.
        const std::vector<std::string> learned = tarvelo_->exceptions.words().get();
        for (const std::string& word : learned) tarvelo_->exceptions.remove(word);
    }

    void TearDown() override {
        program_.reset();
        if (session_ != nullptr) {
            // The field's engine goes with it; the next field gets its own.
            iterateUntil([&] { return tarvelo_->desktop.accessibility().focusedElement() == nullptr; }, 2.0);
            // Past the undo window of anything this test corrected.
            tarvelo_->app.keyboardMonitor.restartIfPossible();
        }
    }

    // Selects the engine, starts a GTK field and waits until the engine has it focused.
    void openField(const char* engine = "tarvelo-us", FieldKind kind = FieldKind::singleLine,
                   std::vector<std::string> unsetEnvironment = {}) {
        ASSERT_TRUE(IbusDaemon::selectEngine(engine)) << "IBus did not take the engine " << engine;
        std::string failure;
        program_ = TextFieldProgram::start({GetParam(), kind, std::move(unsetEnvironment)}, failure);
        ASSERT_NE(program_, nullptr) << failure;
        ASSERT_TRUE(iterateUntil([&] { return tarvelo_->desktop.accessibility().focusedElement() != nullptr; }, 10.0))
            << "the engine never saw the field focused";
        // The first keys after the field has appeared can be lost: one that types nothing goes first.
        iterateFor(0.3);
        session_->keyboard->tap(XK_Escape);
        iterateFor(0.2);
    }

    // Types `text` key by key, `seconds` apart, the main loop running in between: at a person's pace.
    void type(std::string_view text, double seconds = 0.015) {
        for (const char c : text) {
            session_->keyboard->type(std::string_view(&c, 1));
            XFlush(session_->user.get());
            iterateFor(seconds);
        }
    }

    bool fieldBecomes(const std::string& expected, double seconds = 5.0) {
        return iterateUntil(
            [&] {
                const std::optional<std::string> marked = program_->markedText();
                return marked && withoutMarks(*marked) == expected;
            },
            seconds);
    }
    std::string fieldText() {
        const std::optional<std::string> marked = program_->markedText();
        return (marked ? *marked : "(no answer)") + " [status: " + tarvelo_->app.engine.statusMessage().get() + "]";
    }
    bool statusBecomes(const std::string& expected) {
        return iterateUntil([&] { return tarvelo_->app.engine.statusMessage().get() == expected; });
    }

    IbusSession* session_ = nullptr;
    DesktopTarvelo* tarvelo_ = nullptr;
    std::unique_ptr<TextFieldProgram> program_;
};

TEST_P(IbusEngineTest, WrongLayoutWordIsCorrectedAtTheSpaceAndCtrlZPutsItBack) {
    openField();
    EXPECT_EQ(tarvelo_->desktop.inputContext().selectedKeyboardInputSource(), "us");
    // Tarvelo started from the menu now, in this X11 session, would take the keys from IBus too.
    EXPECT_EQ(LinuxDesktop::backendForSession(false), KeyboardBackend::ibus);
    const auto before = tarvelo_->statistics.today().englishToRussian;
    type("ghbdtn ");
    ASSERT_TRUE(fieldBecomes("привет ")) << fieldText();
    ASSERT_TRUE(statusBecomes("Last word corrected")) << fieldText();
    EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, before + 1);
    EXPECT_EQ(program_->markedText(), "привет |");

    session_->keyboard->tap(XK_z, {XK_Control_L});
    ASSERT_TRUE(fieldBecomes("ghbdtn ")) << fieldText();
    EXPECT_EQ(tarvelo_->app.engine.statusMessage().get(), "Correction undone");
    // Ctrl+Z was the engine's: the field did not undo anything of its own.
    EXPECT_EQ(program_->markedText(), "ghbdtn |");
}

TEST_P(IbusEngineTest, TheRussianEngineTypesRussianAndCorrectsAnEnglishWord) {
    openField("tarvelo-ru");
    ASSERT_TRUE(iterateUntil([&] { return tarvelo_->desktop.inputContext().selectedKeyboardInputSource() == "ru"; }));
    type("ghbdtn");  // the keys of "ghbdtn" give "привет" on this engine
    ASSERT_TRUE(fieldBecomes("привет")) << fieldText();
    type(" hello ");  // and these "руддщ", which is corrected
    ASSERT_TRUE(fieldBecomes("привет hello ")) << fieldText();
    ASSERT_TRUE(statusBecomes("Last word corrected")) << fieldText();
}

TEST_P(IbusEngineTest, ASentenceTypedFifteenMillisecondsAKeyComesOutInOrderAndCorrected) {
    openField();
    // The question mark is a comma on the Russian layout, and is corrected with the word it closed.
    type("ghbdtn vbh ghbdtn vbh? ", 0.015);
    ASSERT_TRUE(fieldBecomes("привет мир привет мир, ")) << fieldText();
}

// GTK 3 tells the input method its caret alone: the selection is read through the accessibility bus once
// the chord's key is answered, and the converted text committed over it. The field runs in IBus's
// default asynchronous mode, as applications do: in the synchronous one it waits for the engine's answer
// to each key, the chord's releases too, and cannot answer the bus meanwhile.
TEST_P(IbusEngineTest, TheConvertSelectionChordConvertsASelectionTheClientDoesNotTellOf) {
    openField("tarvelo-us", FieldKind::singleLine, {"IBUS_ENABLE_SYNC_MODE"});
    ASSERT_TRUE(program_->setMarkedText("say |ghbdtn vbh|"));
    session_->keyboard->tap(XK_space, {XK_Alt_L});
    ASSERT_TRUE(fieldBecomes("say привет мир")) << fieldText();
    EXPECT_EQ(program_->markedText(), "say привет мир|");
    EXPECT_EQ(tarvelo_->app.engine.statusMessage().get(), "Selection converted");
}

// Ctrl+Alt+Space converts the word just typed, corrected or not.
TEST_P(IbusEngineTest, TheConvertLastWordChordConvertsTheWordJustTyped) {
    openField();
    type("hello ");
    ASSERT_TRUE(fieldBecomes("hello ")) << fieldText();
    session_->keyboard->tap(XK_space, {XK_Control_L, XK_Alt_L});
    ASSERT_TRUE(fieldBecomes("руддщ ")) << fieldText();
}

// GTK 3's IBus module here does not pass a password entry's purpose on to the engine (the engine's rule
// for a field that says so is tested on plain data); mostly it keeps the entry's keys from the input
// method altogether. Either way the field must come out as typed.
TEST_P(IbusEngineTest, APasswordFieldIsNeverChanged) {
    openField("tarvelo-us", FieldKind::password);
    const auto before = tarvelo_->statistics.today().englishToRussian;
    type("ghbdtn ");
    ASSERT_TRUE(fieldBecomes("ghbdtn ")) << fieldText();
    iterateFor(0.3);
    EXPECT_EQ(program_->markedText(), "ghbdtn |");
    EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, before);
}

// Last, as it restarts the daemon: IBus restarted (as `ibus restart` does) finds Tarvelo's engines served
// again by the same process, before anything asks for them: nothing else could have taken the name.
TEST_P(IbusEngineTest, TheEnginesAreServedAgainOnceIbusRestarts) {
    ASSERT_TRUE(session_->daemon.restart()) << session_->daemon.failure();
    IBusBus* bus = ibus_bus_new();
    const bool served =
        iterateUntil([&] { return ibus_bus_name_has_owner(bus, IbusBackend::kComponentName) != FALSE; }, 10.0);
    g_object_unref(bus);
    ASSERT_TRUE(served) << "the engines were not offered to the new daemon";
    openField();
    type("ghbdtn ");
    ASSERT_TRUE(fieldBecomes("привет ")) << fieldText();
}

std::string toolkitTestName(const ::testing::TestParamInfo<Toolkit>& param) { return toolkitName(param.param); }

// Qt 6.4's IBus module is left out for now: it re-sends a key the engine passed on after the engine's
// next edit has been applied, so a key typed just before the delimiter can land behind the correction
// ("приветмир,h" in one run of three at 15 ms a key). GTK 3 in its synchronous mode keeps the order.
INSTANTIATE_TEST_SUITE_P(Toolkits, IbusEngineTest, ::testing::Values(Toolkit::gtk), toolkitTestName);

}  // namespace
}  // namespace tarvelo::desktop::testing
