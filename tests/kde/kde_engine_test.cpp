// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo on KDE Plasma: fcitx5, KWin's input method, loads the build's Tarvelo module (FCITX_ADDON_DIRS
// and XDG_DATA_DIRS name the build's folders), which hands each key to the build's `tarvelo --fcitx5`
// that this program starts in the session; keys go in through KWin's fake input with fcitx5's own
// keyboard-us or keyboard-ru current, and each toolkit's field is read back.
#include <linux/input-event-codes.h>

#include <glib.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "field_scenarios.h"
#include "kde_session.h"
#include "kwin_key_injector.h"
#include "wayland_field.h"

namespace tarvelo::kde::testing {
namespace {

using wayland::testing::Desktop;
using wayland::testing::Keyboard;
using wayland::testing::KwinKeyInjector;
using wayland::testing::Toolkit;
using wayland::testing::toolkitName;
using wayland::testing::WaylandField;

constexpr Toolkit kToolkits[] = {Toolkit::gtk3, Toolkit::gtk4, Toolkit::qt6};
// GTK 4 before 4.14 takes the length of a deletion that text-input-v3 gives in bytes (as KWin passes on
// fcitx5's request; GTK 3 takes it right) as a length in characters: after Cyrillic text it would delete
// about twice as many letters as asked ("привет руддщ" would lose "ивет руддщ"). Tarvelo knows the
// focused process's GTK from its libraries and makes no edit that deletes Cyrillic letters there: the
// word stays as typed, and nothing else goes.
bool misreadsDeletions(Toolkit toolkit) { return toolkit == Toolkit::gtk4 && TARVELO_GTK4_MINOR < 14; }

// One session, one Tarvelo and one fake-input connection for the whole program. Tarvelo is not ours to
// reset between tests: each test uses words of its own, and the undo test (which teaches Tarvelo the
// words it puts back) comes last.
class KdeEngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!inKdeSession()) return;
        tarvelo_ = TarveloProcess::start(TARVELO_PROGRAM, startFailure_).release();
        if (tarvelo_ == nullptr) return;
        keyboard_ = KwinKeyInjector::start(startFailure_).release();
        if (keyboard_ != nullptr && !warmUpTarvelo(*keyboard_, startFailure_)) {
            delete keyboard_;
            keyboard_ = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete keyboard_;
        keyboard_ = nullptr;
        delete tarvelo_;
        tarvelo_ = nullptr;
    }

    void SetUp() override {
        TARVELO_REQUIRE_KDE_SESSION();
        ASSERT_NE(keyboard_, nullptr) << startFailure_;
        keyboard_->setPace(Keyboard::kFast);
    }

    // Makes `inputMethod` current and opens a field.
    static std::unique_ptr<WaylandField> open(Toolkit toolkit, const char* inputMethod = kEnglish,
                                              bool password = false) {
        std::string failure;
        if (!selectInputMethod(inputMethod, failure)) {
            ADD_FAILURE() << failure;
            return nullptr;
        }
        std::unique_ptr<WaylandField> field = WaylandField::start({toolkit, password, Desktop::kde}, failure);
        if (field == nullptr) ADD_FAILURE() << failure;
        return field;
    }

    // Opens a field with keyboard-us current, types `keys` into it and answers its text once it reads
    // `expected` (or as it is when that does not come); nullopt (with a test failure) when the field
    // does not start or the keys are refused.
    static std::optional<std::string> typeInto(Toolkit toolkit, const std::string& keys, const std::string& expected) {
        const std::unique_ptr<WaylandField> field = open(toolkit);
        if (field == nullptr) return std::nullopt;
        if (!keyboard_->type(keys)) {
            ADD_FAILURE() << keyboard_->lastError();
            return std::nullopt;
        }
        return field->textWhenItReads(expected);
    }

    static TarveloProcess* tarvelo_;
    static Keyboard* keyboard_;
    static std::string startFailure_;
};

TarveloProcess* KdeEngineTest::tarvelo_ = nullptr;
Keyboard* KdeEngineTest::keyboard_ = nullptr;
std::string KdeEngineTest::startFailure_;

TEST_F(KdeEngineTest, AWordTypedInTheWrongLayoutIsCorrectedAtTheSpace) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        EXPECT_EQ(typeInto(toolkit, "ghbdtn ", "привет "), "привет ");
    }
}

// The keys of "hello" with keyboard-ru give "руддщ", which Tarvelo turns back; a Russian word typed
// there stays as it is.
TEST_F(KdeEngineTest, KeyboardRuCorrectsAnEnglishWordTypedOnIt) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit, kRussian);
        ASSERT_NE(field, nullptr);
        ASSERT_TRUE(keyboard_->type("ghbdtn ")) << keyboard_->lastError();
        EXPECT_EQ(field->textWhenItReads("привет "), "привет ");
        ASSERT_TRUE(keyboard_->type("hello ")) << keyboard_->lastError();
        if (misreadsDeletions(toolkit)) {
            // Given the time a correction would take, and then some.
            g_usleep(G_USEC_PER_SEC / 2);
            EXPECT_EQ(field->text(), "привет руддщ ");
        } else {
            EXPECT_EQ(field->textWhenItReads("привет hello "), "привет hello ");
        }
    }
}

TEST_F(KdeEngineTest, ASentenceAtFifteenMillisecondsAKeyComesOutInOrderAndCorrected) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        // The question mark is a comma on the Russian layout and goes with the word it closes.
        EXPECT_EQ(typeInto(toolkit, "ghbdtn vbh ntrcn ghbdtn vbh? ", "привет мир текст привет мир, "),
                  "привет мир текст привет мир, ");
    }
}

// Ctrl+Alt+Space converts the word being typed, which no delimiter has closed yet.
TEST_F(KdeEngineTest, TheConvertChordConvertsTheHalfTypedWord) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit);
        ASSERT_NE(field, nullptr);
        wayland::testing::scenarios::convertChordConvertsTheHalfTypedWord(*keyboard_, *field);
    }
}

// Alt+Space converts the selection, made with the keyboard as a person makes it: GTK 4 and Qt tell the
// input method of a selection when it changes under the user's keys; GTK 3 tells it the caret alone, and
// the selection is read through the accessibility bus, as on GNOME.
TEST_F(KdeEngineTest, TheConvertSelectionChordConvertsTheSelection) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit);
        ASSERT_NE(field, nullptr);
        wayland::testing::scenarios::selectionChordConvertsTheSelection(*keyboard_, *field, {KEY_LEFTALT});
    }
}

TEST_F(KdeEngineTest, APasswordFieldIsNeverChanged) {
    for (const Toolkit toolkit : kToolkits) {
        SCOPED_TRACE(toolkitName(toolkit));
        const std::unique_ptr<WaylandField> field = open(toolkit, kEnglish, true);
        ASSERT_NE(field, nullptr);
        wayland::testing::scenarios::passwordFieldIsNeverChanged(*keyboard_, *field);
    }
}

// Last: Tarvelo learns the word it put back. The chord comes a second after the correction, as a
// person's would.
TEST_F(KdeEngineTest, CtrlZPutsTheTypedWordBack) {
    struct Case {
        Toolkit toolkit;
        const char* keys;
        const char* corrected;
    };
    // A word of its own per toolkit: the one put back is learned.
    const Case cases[] = {{Toolkit::gtk3, "ckjdj ", "слово "}, {Toolkit::qt6, "ljvf ", "дома "},
                          {Toolkit::gtk4, "rjirf ", "кошка "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(toolkitName(c.toolkit));
        const std::unique_ptr<WaylandField> field = open(c.toolkit);
        ASSERT_NE(field, nullptr);
        // Where putting the word back would delete Cyrillic letters, Tarvelo leaves the field as it is,
        // and the chord, Tarvelo's, does not reach the field's own undo.
        wayland::testing::scenarios::ctrlZAfterACorrection(*keyboard_, *field, c.keys, c.corrected, G_USEC_PER_SEC,
                                                           misreadsDeletions(c.toolkit) ? c.corrected : c.keys);
    }
}

}  // namespace
}  // namespace tarvelo::kde::testing
