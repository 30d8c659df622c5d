// SPDX-License-Identifier: GPL-3.0-or-later
// The whole application on the real Linux backend: keys typed on the X server's keyboard, the monitor
// and engine, and real GTK 3 and Qt 6 text fields read back through their own toolkit.

// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <memory>
#include <optional>
#include <random>
#include <string>

#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "key_window.h"
#include "test_keyboard.h"
#include "text_field_program.h"

namespace tarvelo::desktop::testing {
namespace {

std::string toolkitTestName(const ::testing::TestParamInfo<Toolkit>& param) { return toolkitName(param.param); }

std::string withoutMarks(std::string marked) {
    std::erase(marked, '|');
    return marked;
}

// Tarvelo as the application composes it, with its settings in memory, and a text-field program.
class TypingPipelineTest : public ::testing::TestWithParam<Toolkit> {
protected:
    void SetUp() override {
        TARVELO_REQUIRE_DESKTOP();
        user_.reset(XOpenDisplay(nullptr));
        ASSERT_NE(user_, nullptr);
        keyboard_ = std::make_unique<TestKeyboard>(user_.get());
        tarvelo_ = std::make_unique<DesktopTarvelo>();
        ASSERT_TRUE(tarvelo_->desktop.hasDisplay());
        ASSERT_TRUE(tarvelo_->app.keyboardMonitor.isRunning().get()) << "the tap could not be installed";
    }

    void TearDown() override {
        if (keyboard_) keyboard_->lockGroup(0);
        if (user_) XSync(user_.get(), False);
        program_.reset();
        tarvelo_.reset();
    }

    // Starts the field program and waits until the backend sees its field focused.
    void openField(FieldKind kind = FieldKind::singleLine) {
        std::string failure;
        program_ = TextFieldProgram::start({GetParam(), kind, {}}, failure);
        ASSERT_NE(program_, nullptr) << failure;
        ASSERT_TRUE(iterateUntil([&] { return tarvelo_->desktop.accessibility().focusedElement() != nullptr; }, 10.0))
            << "the backend never saw the field focused";
    }

    // Lets the main loop run until the field's text (as its toolkit holds it) is `expected`.
    bool fieldBecomes(const std::string& expected, double seconds = 5.0) {
        return iterateUntil(
            [&] {
                const std::optional<std::string> marked = program_->markedText();
                return marked && withoutMarks(*marked) == expected;
            },
            seconds);
    }
    // The field as its toolkit holds it, and the engine's status, for failure messages.
    std::string fieldText() {
        const std::optional<std::string> marked = program_->markedText();
        return (marked ? *marked : "(no answer)") + " [status: " + tarvelo_->app.engine.statusMessage().get() + "]";
    }
    bool statusBecomes(const std::string& expected) {
        return iterateUntil([&] { return tarvelo_->app.engine.statusMessage().get() == expected; });
    }

    std::unique_ptr<Display, decltype(&XCloseDisplay)> user_{nullptr, &XCloseDisplay};
    std::unique_ptr<TestKeyboard> keyboard_;
    std::unique_ptr<DesktopTarvelo> tarvelo_;
    std::unique_ptr<TextFieldProgram> program_;
};

TEST_P(TypingPipelineTest, WrongLayoutWordIsCorrectedAndCtrlZPutsItBack) {
    openField();
    keyboard_->type("ghbdtn ");
    ASSERT_TRUE(fieldBecomes("привет ")) << fieldText();
    ASSERT_TRUE(statusBecomes("Last word corrected"));
    EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, 1);

    keyboard_->tap(XK_z, {XK_Control_L});
    ASSERT_TRUE(fieldBecomes("ghbdtn ")) << fieldText();
    EXPECT_EQ(tarvelo_->app.engine.statusMessage().get(), "Correction undone");
    EXPECT_EQ(tarvelo_->exceptions.words().get(), std::vector<std::string>{"ghbdtn"});

    // Learned: the same word again is left as typed.
    keyboard_->type("ghbdtn ");
    ASSERT_TRUE(statusBecomes("Protected or excluded token skipped")) << fieldText();
    EXPECT_TRUE(fieldBecomes("ghbdtn ghbdtn ")) << fieldText();
}

// The keys right after the space reach the field before the correction can be made: the word is
// replaced where it stands, the newer keys stay after it, and the correction counts and can be undone.
TEST_P(TypingPipelineTest, WordIsCorrectedBehindTheKeysTypedAfterIt) {
    openField();
    keyboard_->type("ghbdtn vbh");
    ASSERT_TRUE(fieldBecomes("привет vbh")) << fieldText();
    ASSERT_TRUE(statusBecomes("Last word corrected")) << fieldText();
    EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, 1);
    EXPECT_EQ(program_->markedText(), "привет vbh|");

    keyboard_->tap(XK_z, {XK_Control_L});
    ASSERT_TRUE(fieldBecomes("ghbdtn vbh")) << fieldText();
    EXPECT_EQ(program_->markedText(), "ghbdtn vbh|");
    EXPECT_EQ(tarvelo_->app.engine.statusMessage().get(), "Correction undone");
}

TEST_P(TypingPipelineTest, WordMeantInEnglishIsCorrectedWhileTheRussianGroupIsActive) {
    openField();
    keyboard_->lockGroup(1);
    ASSERT_TRUE(iterateUntil([&] { return tarvelo_->inputSource.displayNameFor(tarvelo_->desktop.inputContext().selectedKeyboardInputSource()) == "Russian"; }));
    keyboard_->type("hello ");  // the keys of "hello", which give "руддщ " in this group
    ASSERT_TRUE(fieldBecomes("hello ")) << fieldText();
    ASSERT_TRUE(statusBecomes("Last word corrected"));
    EXPECT_EQ(tarvelo_->statistics.today().russianToEnglish, 1);
}

TEST_P(TypingPipelineTest, AfterACorrectionTheCorrectedWordsGroupIsLockedWhenAsked) {
    tarvelo_->settings.switchLayoutAfterCorrection.set(true);
    openField();
    keyboard_->type("ghbdtn ");
    ASSERT_TRUE(fieldBecomes("привет ")) << fieldText();
    ASSERT_TRUE(statusBecomes("Last word corrected"));
    ASSERT_TRUE(iterateUntil([&] { return tarvelo_->desktop.inputContext().selectedKeyboardInputSource() == "ru"; }));
    // The same keys now give the Russian word: the rest of the sentence comes out right by itself.
    keyboard_->type("vbh ");
    ASSERT_TRUE(fieldBecomes("привет мир ")) << fieldText();
    EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, 1);
}

TEST_P(TypingPipelineTest, AltSpaceConvertsTheSelection) {
    openField();
    ASSERT_TRUE(program_->setMarkedText("say |ghbdtn vbh|"));
    keyboard_->tap(XK_space, {XK_Alt_L});
    ASSERT_TRUE(fieldBecomes("say привет мир")) << fieldText();
    EXPECT_EQ(tarvelo_->app.engine.statusMessage().get(), "Selection converted");
}

TEST_P(TypingPipelineTest, CtrlAltSpaceConvertsTheHalfTypedWord) {
    openField();
    keyboard_->type("ntrcn");
    ASSERT_TRUE(fieldBecomes("ntrcn")) << fieldText();
    keyboard_->tap(XK_space, {XK_Control_L, XK_Alt_L});
    ASSERT_TRUE(fieldBecomes("текст")) << fieldText();
    EXPECT_TRUE(statusBecomes("Text converted"));
}

TEST_P(TypingPipelineTest, PasswordFieldIsNeverReadNorChanged) {
    openField(FieldKind::password);
    keyboard_->type("ghbdtn ");
    ASSERT_TRUE(fieldBecomes("ghbdtn ")) << fieldText();
    iterateFor(0.5);
    EXPECT_EQ(withoutMarks(*program_->markedText()), "ghbdtn ");
    EXPECT_EQ(tarvelo_->app.engine.statusMessage().get(), "Ready");
    EXPECT_FALSE(tarvelo_->app.keyboardMonitor.lastBoundary());
}

// A sentence at a person's pace, each interval off by a random amount: the corrections, the spans
// with their punctuation keys among them, land while the next keys arrive.
TEST_P(TypingPipelineTest, SentenceTypedOnTheWrongLayoutComesOutAsMeant) {
    openField();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> interval(0.05, 0.19);
    for (const char key : std::string("Ghbdtn? rfr ltkf& Z gbie ntrcn/ ")) {
        keyboard_->type(std::string(1, key));
        iterateFor(interval(random));
    }
    ASSERT_TRUE(fieldBecomes("Привет, как дела? Я пишу текст. ")) << fieldText();
    ASSERT_TRUE(statusBecomes("Last word corrected")) << fieldText();
    EXPECT_EQ(tarvelo_->statistics.today().englishToRussian, 6);

    // Ctrl+Z takes back the last span whole, its full stop included.
    keyboard_->tap(XK_z, {XK_Control_L});
    ASSERT_TRUE(fieldBecomes("Привет, как дела? Я пишу ntrcn/ ")) << fieldText();
    EXPECT_EQ(tarvelo_->exceptions.words().get(), std::vector<std::string>{"ntrcn"});
}

TEST_P(TypingPipelineTest, ExcludedApplicationIsLeftAlone) {
    openField();
    const std::optional<std::string> application = tarvelo_->desktop.workspace().frontmostApplicationIdentifier();
    ASSERT_TRUE(application);
    tarvelo_->applicationFilter.add(*application);
    keyboard_->type("ghbdtn ");
    ASSERT_TRUE(statusBecomes("Automatic correction is disabled for this app"));
    EXPECT_EQ(withoutMarks(*program_->markedText()), "ghbdtn ");
}

INSTANTIATE_TEST_SUITE_P(Toolkits, TypingPipelineTest, ::testing::Values(Toolkit::gtk, Toolkit::qt),
                         toolkitTestName);

// Qt's line edit has its own undo: Ctrl+Z with no correction to undo must reach it.
class QtFieldTest : public TypingPipelineTest {};

TEST_P(QtFieldTest, CtrlZWithNothingToUndoReachesTheField) {
    openField();
    keyboard_->type("abc");
    ASSERT_TRUE(fieldBecomes("abc")) << fieldText();
    keyboard_->tap(XK_z, {XK_Control_L});
    EXPECT_TRUE(fieldBecomes("")) << fieldText();
}

// A field that accessibility can read but not edit changes through typed keys: Backspaces, then the
// converted word, typed in the us group although it is Cyrillic.
TEST_P(QtFieldTest, FieldThatAccessibilityCannotEditGetsTypedKeys) {
    openField(FieldKind::keysOnly);
    // The field refuses an edit through accessibility...
    const std::shared_ptr<AccessibilityElement> element = tarvelo_->desktop.accessibility().focusedElement();
    ASSERT_NE(element, nullptr);
    EXPECT_NE(element->setAttribute("AXSelectedText", std::string("x")), accessibility_error::kSuccess);
    ASSERT_TRUE(fieldBecomes("")) << fieldText();
    // ...so the correction arrives as keys.
    keyboard_->type("ghbdtn ");
    ASSERT_TRUE(fieldBecomes("привет ")) << fieldText();
    EXPECT_TRUE(statusBecomes("Last word corrected"));
    keyboard_->type("vbh ");
    ASSERT_TRUE(fieldBecomes("привет мир ")) << fieldText();
}

// A window that shows nothing to accessibility might be a password prompt: nothing typed there is kept,
// and nothing in it is changed.
TEST_P(QtFieldTest, WindowWithoutAccessibleTextIsLeftAlone) {
    const std::unique_ptr<KeyWindow> window = KeyWindow::start(user_.get());
    ASSERT_NE(window, nullptr);
    keyboard_->type("ghbdtn ");
    ASSERT_TRUE(window->waitForText("ghbdtn ")) << window->text();
    iterateFor(0.5);
    EXPECT_EQ(window->text(), "ghbdtn ");
    EXPECT_FALSE(tarvelo_->app.keyboardMonitor.lastBoundary());
    EXPECT_EQ(tarvelo_->app.engine.statusMessage().get(), "Ready");
}

INSTANTIATE_TEST_SUITE_P(Qt, QtFieldTest, ::testing::Values(Toolkit::qt),
                         toolkitTestName);

}  // namespace
}  // namespace tarvelo::desktop::testing
