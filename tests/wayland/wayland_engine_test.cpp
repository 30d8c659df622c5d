// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's IBus engines as the input sources of a headless GNOME Shell on Wayland: the shell's own
// ibus-daemon finds the build's component (IBUS_COMPONENT_PATH) and starts the build's `tarvelo --ibus`
// the first time one of its engines is chosen; keys go in through Mutter's remote desktop session and
// each toolkit's field is read back. This process is only the user: Tarvelo is the program IBus runs.
#include <linux/input-event-codes.h>

#include <glib.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "field_scenarios.h"
#include "gnome_session.h"
#include "gnome_session_test.h"
#include "key_injector.h"
#include "wayland_field.h"

namespace tarvelo::wayland::testing {
namespace {

constexpr Toolkit kToolkits[] = {Toolkit::gtk3, Toolkit::gtk4, Toolkit::qt6};
const InputSource kTarveloEnglish{"ibus", "tarvelo-us"};
const InputSource kTarveloRussian{"ibus", "tarvelo-ru"};

// One session, one Tarvelo and one remote desktop session for the whole program. Tarvelo is not ours
// to reset between tests: each test uses words of its own, and the undo test (which teaches Tarvelo the
// words it puts back) comes last.
class WaylandEngineTest : public GnomeSessionTest {
protected:
    static void SetUpTestSuite() { startSession(true); }

    void SetUp() override {
        GnomeSessionTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // The English engine active (a change of the list, so the shell activates it whatever the test
        // before left); the first selection has IBus start Tarvelo, and selectInputSources waits until
        // the engine is IBus's.
        std::string failure;
        ASSERT_TRUE(selectInputSources({kTarveloEnglish}, failure)) << failure;
    }

    static std::unique_ptr<WaylandField> open(Toolkit toolkit, bool password = false) {
        std::string failure;
        std::unique_ptr<WaylandField> field = WaylandField::start({toolkit, password}, failure);
        if (field == nullptr) ADD_FAILURE() << failure;
        return field;
    }

    // Starts a field, types `keys` into it and answers its text once it reads `expected` (or as it is
    // when that does not come); nullopt (with a test failure) when the field does not start or the keys
    // are refused.
    static std::optional<std::string> typeInto(Toolkit toolkit, const std::string& keys, const std::string& expected,
                                               bool password = false) {
        const std::unique_ptr<WaylandField> field = open(toolkit, password);
        if (field == nullptr) return std::nullopt;
        if (!keyboard_->type(keys)) {
            ADD_FAILURE() << keyboard_->lastError();
            return std::nullopt;
        }
        return field->textWhenItReads(expected);
    }

};

TEST_F(WaylandEngineTest, AWordTypedInTheWrongLayoutIsCorrectedAtTheSpace) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        EXPECT_EQ(typeInto(toolkit, "ghbdtn ", "привет "), "привет ");
    }
}

// The keys of "hello" under the Russian engine's keymap give "руддщ", which Tarvelo turns back. GTK 3.24's
// Wayland input (text-input-v3 through GNOME Shell 43) reads the length of a deletion as bytes, GTK 4.8
// as characters, and the shell passes on the engine's count unchanged: the engine asks a GTK 3 client
// for bytes. A wrong guess leaves half of the Cyrillic word ("руhello").
TEST_F(WaylandEngineTest, TheRussianEngineCorrectsAnEnglishWordTypedOnIt) {
    std::string failure;
    ASSERT_TRUE(selectInputSources({kTarveloEnglish, kTarveloRussian}, failure)) << failure;
    ASSERT_TRUE(switchInputSource(*keyboard_, kTarveloRussian.second, failure)) << failure;
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit);
        ASSERT_NE(field, nullptr);
        // The keymap is the Russian one: a word that is Russian stays as typed.
        ASSERT_TRUE(keyboard_->type("ghbdtn ")) << keyboard_->lastError();
        EXPECT_EQ(field->textWhenItReads("привет "), "привет ");
        ASSERT_TRUE(keyboard_->type("hello ")) << keyboard_->lastError();
        EXPECT_EQ(field->textWhenItReads("привет hello "), "привет hello ");
    }
}

// Without Shift: GTK clients on GNOME get modifier changes apart from the keys (tests/wayland/README.md).
TEST_F(WaylandEngineTest, ASentenceAtFifteenMillisecondsAKeyComesOutInOrderAndCorrected) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        EXPECT_EQ(typeInto(toolkit, "ghbdtn vbh ntrcn ghbdtn vbh ", "привет мир текст привет мир "),
                  "привет мир текст привет мир ");
    }
    // Qt reaches IBus itself and takes Shift with its key: the question mark is a comma on the Russian
    // layout and goes with the word it closes. (Qt 6.4 on X11 once put a key typed before the delimiter
    // behind the correction, "приветмир,h", in one run of three; here it has not been seen in five.)
    EXPECT_EQ(typeInto(Toolkit::qt6, "ghbdtn vbh ghbdtn vbh? ", "привет мир привет мир, "), "привет мир привет мир, ");
}

TEST_F(WaylandEngineTest, APasswordFieldIsNeverChanged) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit, true);
        ASSERT_NE(field, nullptr);
        scenarios::passwordFieldIsNeverChanged(*keyboard_, *field);
    }
}

// Tarvelo switches the layout after a correction only when the user asks for it (off here, as by
// default; wayland_layout_switch_test.cpp has it on): the source stays, and so does the user's list.
TEST_F(WaylandEngineTest, WithoutTheSettingTheLayoutStaysAfterACorrection) {
    const std::vector<InputSource> sources{kTarveloEnglish, kTarveloRussian};
    std::string failure;
    ASSERT_TRUE(selectInputSources(sources, failure)) << failure;
    const std::unique_ptr<WaylandField> field = open(Toolkit::qt6);
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(keyboard_->type("ghbdtn ")) << keyboard_->lastError();
    ASSERT_EQ(field->textWhenItReads("привет "), "привет ");
    // With the setting on, the shell has switched well within a second.
    g_usleep(G_USEC_PER_SEC);
    EXPECT_EQ(activeIbusEngine(), kTarveloEnglish.second);
    EXPECT_EQ(inputSources(), sources);
    // Without a space the word stays as the English keymap types it.
    ASSERT_TRUE(keyboard_->type("vbh")) << keyboard_->lastError();
    EXPECT_EQ(field->textWhenItReads("привет vbh"), "привет vbh");
    // Its space has Tarvelo correct it, and closes the word before the next test's field: an unfinished
    // word was seen to join the first word typed into the next field, which then stayed uncorrected.
    ASSERT_TRUE(keyboard_->type(" ")) << keyboard_->lastError();
    EXPECT_EQ(field->textWhenItReads("привет мир "), "привет мир ");
}

// GNOME Shell opens the window menu with Alt+Space before the input method sees the keys, so Tarvelo
// takes Ctrl+Shift+Space for the selection there. The selection is made with the keyboard, as a person
// makes it: GTK 4 and Qt tell the input method of a selection when it changes under the user's keys;
// GTK 3 tells it the caret alone, and the selection is read through the accessibility bus.
TEST_F(WaylandEngineTest, TheConvertSelectionChordConvertsTheSelection) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit);
        ASSERT_NE(field, nullptr);
        scenarios::selectionChordConvertsTheSelection(*keyboard_, *field, {KEY_LEFTCTRL, KEY_LEFTSHIFT});
    }
}

// Ctrl+Alt+Space converts the word being typed, which no delimiter has closed yet.
TEST_F(WaylandEngineTest, CtrlAltSpaceConvertsTheHalfTypedWord) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit);
        ASSERT_NE(field, nullptr);
        scenarios::convertChordConvertsTheHalfTypedWord(*keyboard_, *field);
    }
}

// Terminals are excluded from the start; the application is the process that has the focus, named
// by its program where no desktop file names it. A GTK 3 field run as "konsole" stands for one.
TEST_F(WaylandEngineTest, AnExcludedApplicationIsLeftAlone) {
    std::string failure;
    const std::unique_ptr<WaylandField> terminal =
        WaylandField::start({Toolkit::gtk3, false, Desktop::gnome}, failure, "konsole");
    ASSERT_NE(terminal, nullptr) << failure;
    ASSERT_TRUE(keyboard_->type("ghbdtn ")) << keyboard_->lastError();
    // Long enough for a correction to have come, had it been made.
    g_usleep(G_USEC_PER_SEC / 2);
    EXPECT_EQ(terminal->textWhenItReads("ghbdtn "), "ghbdtn ");
}

// Last: Tarvelo learns the word it put back. Ctrl+Z is a chord, whose Ctrl reaches a GTK client apart
// from the Z that passes through the input method; the engine takes the chord itself, so the field's own
// undo must not run as well (GTK 4's would empty the field, Qt's would take the replacement back). The
// chord comes a second after the correction, as a person's would, and at once: within some tens of
// milliseconds, before the correction has been read back.
TEST_F(WaylandEngineTest, CtrlZWithinEightSecondsPutsTheTypedWordBack) {
    struct Case {
        Toolkit toolkit;
        const char* keys;
        const char* corrected;
        unsigned long pause;
    };
    // A word of its own per case: the one put back is learned.
    const Case cases[] = {{Toolkit::gtk4, "rjirf ", "кошка ", G_USEC_PER_SEC},
                          {Toolkit::qt6, "ljvf ", "дома ", G_USEC_PER_SEC},
                          {Toolkit::gtk3, "ckjdj ", "слово ", G_USEC_PER_SEC},
                          {Toolkit::gtk4, "rybuf ", "книга ", 0},
                          {Toolkit::qt6, "cjkywt ", "солнце ", 0},
                          {Toolkit::gtk3, "ljhjuf ", "дорога ", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(toolkitName(c.toolkit)) + (c.pause == 0 ? ", at once" : ", a second later"));
        const std::unique_ptr<WaylandField> field = open(c.toolkit);
        ASSERT_NE(field, nullptr);
        scenarios::ctrlZAfterACorrection(*keyboard_, *field, c.keys, c.corrected, c.pause, c.keys);
    }
}

}  // namespace
}  // namespace tarvelo::wayland::testing
