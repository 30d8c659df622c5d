// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <vector>

#include "x11_desktop_test.h"

// The X11 tap with keys pressed on the XTEST device by the test, the way a person's keys arrive.

namespace tarvelo::desktop::testing {
namespace {

using X11EventTap = X11DesktopTest;

std::uint16_t otherKey(const TestKeyboard& keyboard, KeySym keysym) {
    return static_cast<std::uint16_t>(XInputEventTap::kOtherKeyBase + keyboard.keycode(keysym));
}

// The records of one physical key, in order.
std::vector<KeyEventRecord> recordsOfKey(const std::vector<KeyEventRecord>& records, std::uint16_t keyCode) {
    std::vector<KeyEventRecord> found;
    std::copy_if(records.begin(), records.end(), std::back_inserter(found),
                 [&](const KeyEventRecord& record) { return record.keyCode == keyCode; });
    return found;
}

TEST_F(X11EventTap, GivesTheCharactersTheFocusedWindowTypes) {
    installRecordingTap();
    struct Case {
        unsigned int group;
        KeySym key;
        bool shift;
        std::string characters;
    };
    const Case cases[] = {
        {0, XK_a, false, "a"}, {0, XK_a, true, "A"},  {0, XK_1, true, "!"},  {0, XK_bracketleft, false, "["},
        {1, XK_a, false, "ф"}, {1, XK_a, true, "Ф"},  {1, XK_q, false, "й"}, {1, XK_bracketleft, false, "х"},
        {1, XK_7, true, "?"},  {1, XK_slash, true, ","}, {0, XK_q, false, "q"},
    };
    std::string typed;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.characters);
        lockGroup(c.group);
        records_.clear();
        if (c.shift) {
            keyboard_->tap(c.key, {XK_Shift_L});
        } else {
            keyboard_->tap(c.key);
        }
        ASSERT_TRUE(waitForRecords(1));
        const std::vector<KeyEventRecord> key = recordsOfKey(records_, otherKey(*keyboard_, c.key));
        ASSERT_EQ(key.size(), 1u);
        EXPECT_EQ(key[0].characters, c.characters);
        EXPECT_EQ(key[0].userData, 0);
        typed += c.characters;
    }
    // The same text as the window's own lookup.
    EXPECT_TRUE(window_->waitForText(typed)) << window_->text();
    // A modifier key on its own is no key of the word: Shift, Ctrl, Alt, AltGr and the group switch
    // give no record at all; the next key still does, with no text for a key without any.
    records_.clear();
    for (const KeySym modifier : {XK_Shift_L, XK_Control_L, XK_Alt_L, XK_Super_L, XK_ISO_Level3_Shift}) {
        keyboard_->tap(modifier);
    }
    keyboard_->tap(XK_F5);
    // Raw presses arrive in order, so the first record would be a modifier's if they gave any.
    ASSERT_TRUE(waitForRecords(1));
    EXPECT_EQ(records_[0].keyCode, otherKey(*keyboard_, XK_F5));
    EXPECT_EQ(records_[0].characters, std::nullopt);
}

TEST_F(X11EventTap, GivesVirtualKeyCodesAndModifierFlags) {
    installRecordingTap();
    struct Case {
        const char* name;
        unsigned int group;
        KeySym key;
        std::vector<KeySym> modifiers;
        std::uint16_t keyCode;  // 0: some code other than Space, Delete and Z
        std::uint64_t flags;
    };
    const Case cases[] = {
        {"space", 0, XK_space, {}, virtual_key::kSpace, 0},
        {"backspace", 0, XK_BackSpace, {}, virtual_key::kDelete, 0},
        {"z", 0, XK_z, {}, virtual_key::kZ, 0},
        {"z in the ru group", 1, XK_z, {}, virtual_key::kZ, 0},
        {"space in the ru group", 1, XK_space, {}, virtual_key::kSpace, 0},
        {"a", 0, XK_a, {}, 0, 0},
        {"return", 0, XK_Return, {}, 0, 0},
        {"shift", 0, XK_a, {XK_Shift_L}, 0, modifier_flag::kShift},
        {"alt", 0, XK_a, {XK_Alt_L}, 0, modifier_flag::kOption},
        {"ctrl", 0, XK_a, {XK_Control_L}, 0, modifier_flag::kCommand},
        {"super", 0, XK_a, {XK_Super_L}, 0, modifier_flag::kControl},
        {"ctrl+alt", 0, XK_b, {XK_Control_L, XK_Alt_L}, 0, modifier_flag::kCommand | modifier_flag::kOption},
        {"ctrl+shift+z", 0, XK_z, {XK_Control_L, XK_Shift_L}, virtual_key::kZ,
         modifier_flag::kCommand | modifier_flag::kShift},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lockGroup(c.group);
        records_.clear();
        for (const KeySym modifier : c.modifiers) keyboard_->press(modifier);
        keyboard_->tap(c.key);
        for (const KeySym modifier : c.modifiers) keyboard_->release(modifier);
        ASSERT_TRUE(waitForRecords(1));
        ASSERT_EQ(records_.size(), 1u);  // the modifiers themselves give none
        const KeyEventRecord& record = records_[0];
        EXPECT_EQ(record.type, KeyEventRecord::kKeyDown);
        if (c.keyCode != 0) {
            EXPECT_EQ(record.keyCode, c.keyCode);
        } else {
            EXPECT_EQ(record.keyCode, otherKey(*keyboard_, c.key));
            EXPECT_NE(record.keyCode, virtual_key::kSpace);
            EXPECT_NE(record.keyCode, virtual_key::kDelete);
            EXPECT_NE(record.keyCode, virtual_key::kZ);
        }
        EXPECT_EQ(record.flags, c.flags);
    }
}

// Each chord is asked about once, whether the answer comes through the grab or the raw event.
TEST_F(X11EventTap, SpaceChordsAreDroppedOrHandedOnByTheAnswer) {
    struct Case {
        std::vector<KeySym> modifiers;
        TapAnswer answer;
        const char* seenByWindow;  // nullptr: the window never sees the chord
    };
    const Case cases[] = {
        {{XK_Alt_L}, TapAnswer::swallow, nullptr},
        {{XK_Alt_L}, TapAnswer::pass, "alt+space\n"},
        {{XK_Control_L, XK_Alt_L}, TapAnswer::swallow, nullptr},
        {{XK_Control_L, XK_Alt_L}, TapAnswer::pass, "ctrl+alt+space\n"},
        // Super (and Shift, which with Alt switches the group in this session's keymap) does not change
        // the chord, and is held back with it.
        {{XK_Super_L, XK_Alt_L}, TapAnswer::swallow, nullptr},
        {{XK_Control_L, XK_Super_L, XK_Alt_L}, TapAnswer::swallow, nullptr},
    };
    TapAnswer answer = TapAnswer::pass;
    answerFor = [&](const KeyEventRecord& record) { return record.keyCode == virtual_key::kSpace ? answer : TapAnswer::pass; };
    installRecordingTap();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seenByWindow == nullptr ? "swallowed" : c.seenByWindow);
        answer = c.answer;
        records_.clear();
        const std::string chordsBefore = window_->chords();
        for (const KeySym modifier : c.modifiers) keyboard_->press(modifier);
        keyboard_->tap(XK_space);
        for (const KeySym modifier : c.modifiers) keyboard_->release(modifier);
        ASSERT_TRUE(settle());
        EXPECT_EQ(window_->chords(), chordsBefore + (c.seenByWindow != nullptr ? c.seenByWindow : "") + "ctrl+x\n");
        EXPECT_EQ(recordsOfKey(records_, virtual_key::kSpace).size(), 1u);
    }
    // The keyboard is free again: plain keys reach the window.
    keyboard_->type("ok");
    EXPECT_TRUE(window_->waitForText("ok")) << window_->text();
}

// A Space and then Ctrl+Alt+Space a moment later: the server gives both presses of the key the same
// millisecond, and the plain Space's answer (pass) must not be taken for the chord's.
TEST_F(X11EventTap, AChordRightAfterAPlainPressOfItsKeyGetsItsOwnAnswer) {
    answerFor = [](const KeyEventRecord& record) {
        const bool chord = record.keyCode == virtual_key::kSpace && (record.flags & modifier_flag::kOption) != 0;
        return chord ? TapAnswer::swallow : TapAnswer::pass;
    };
    installRecordingTap();
    for (int attempt = 0; attempt < 10; ++attempt) {
        SCOPED_TRACE(attempt);
        records_.clear();
        const std::string chordsBefore = window_->chords();
        keyboard_->tap(XK_space);
        keyboard_->tap(XK_space, {XK_Control_L, XK_Alt_L});
        ASSERT_TRUE(settle());
        EXPECT_EQ(window_->chords(), chordsBefore + "ctrl+x\n");
        EXPECT_EQ(recordsOfKey(records_, virtual_key::kSpace).size(), 2u);
    }
}

TEST_F(X11EventTap, HoldsCtrlZOnlyWhileTheUndoChordIsWanted) {
    answerFor = [](const KeyEventRecord& record) {
        return record.keyCode == virtual_key::kZ ? TapAnswer::swallow : TapAnswer::pass;
    };
    // Wanted before the tap exists: remembered for the install.
    tap_->setUndoChordWanted(true);
    installRecordingTap();
    struct Step {
        bool wanted;
        bool reachesWindow;
    };
    const Step steps[] = {{true, false}, {false, true}, {true, false}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.wanted ? "wanted" : "not wanted");
        tap_->setUndoChordWanted(step.wanted);
        records_.clear();
        const std::string chordsBefore = window_->chords();
        keyboard_->tap(XK_z, {XK_Control_L});
        ASSERT_TRUE(settle());
        EXPECT_EQ(window_->chords(), chordsBefore + (step.reachesWindow ? "ctrl+z\n" : "") + "ctrl+x\n");
        EXPECT_EQ(recordsOfKey(records_, virtual_key::kZ).size(), 1u);
    }
    // Ctrl+Shift+Z and Ctrl+Alt+Z undo too, and are held back while wanted.
    for (const KeySym extra : {XK_Shift_L, XK_Alt_L}) {
        const std::string chordsBefore = window_->chords();
        keyboard_->tap(XK_z, {XK_Control_L, extra});
        ASSERT_TRUE(settle());
        EXPECT_EQ(window_->chords(), chordsBefore + "ctrl+x\n");
    }
    // Removing the tap lets every chord through, and a new install grabs what is still wanted.
    tap_->remove();
    std::string chordsBefore = window_->chords();
    keyboard_->tap(XK_z, {XK_Control_L});
    ASSERT_TRUE(settle());
    EXPECT_EQ(window_->chords(), chordsBefore + "ctrl+z\nctrl+x\n");
    installRecordingTap();
    chordsBefore = window_->chords();
    keyboard_->tap(XK_z, {XK_Control_L});
    ASSERT_TRUE(settle());
    EXPECT_EQ(window_->chords(), chordsBefore + "ctrl+x\n");
}

TEST_F(X11EventTap, GrabsChordsWhateverLockIsOn) {
    answerFor = [](const KeyEventRecord& record) {
        return record.keyCode == virtual_key::kSpace ? TapAnswer::swallow : TapAnswer::pass;
    };
    installRecordingTap();
    for (const KeySym lock : {XK_Num_Lock, XK_Caps_Lock}) {
        SCOPED_TRACE(XKeysymToString(lock));
        keyboard_->tap(lock);
        ASSERT_TRUE(iterateUntil([&] { return keymap_->modifiers() != 0; }));
        const std::string chordsBefore = window_->chords();
        keyboard_->tap(XK_space, {XK_Alt_L});
        keyboard_->tap(XK_space, {XK_Control_L, XK_Alt_L});
        ASSERT_TRUE(settle());
        keyboard_->tap(lock);
        ASSERT_TRUE(iterateUntil([&] { return keymap_->modifiers() == 0; }));
        EXPECT_EQ(window_->chords(), chordsBefore + "ctrl+x\n");
    }
}

TEST_F(X11EventTap, MarksOnlyTheKeysTheBackendPosted) {
    installRecordingTap();
    const auto postBackspace = [&] {
        ASSERT_TRUE(events_->post({virtual_key::kDelete, true, kSyntheticEventMarker, {}}));
        ASSERT_TRUE(events_->post({virtual_key::kDelete, false, kSyntheticEventMarker, {}}));
    };
    // The test's own Backspace right after the backend's: same device, same key code.
    keyboard_->type("ab");
    postBackspace();
    keyboard_->tap(XK_BackSpace);
    keyboard_->type("c");
    ASSERT_TRUE(events_->post({0, true, kSyntheticEventMarker, u"d"}));
    ASSERT_TRUE(events_->post({0, false, kSyntheticEventMarker, u"d"}));
    keyboard_->type("d");
    postBackspace();
    ASSERT_TRUE(waitForRecords(8));
    std::string marks;
    for (const KeyEventRecord& record : records_) {
        marks += record.userData == kSyntheticEventMarker ? "P" : (record.userData == 0 ? "u" : "?");
    }
    EXPECT_EQ(marks, "uuPuuPuP");
    EXPECT_TRUE(window_->waitForText("cd")) << window_->text();
    EXPECT_TRUE(injected_.empty());
}

TEST_F(X11EventTap, ReportsAChordAnotherProgramHoldsAndKeepsWorking) {
    // The test plays a window manager that owns Alt+Space.
    const KeyCode space = keyboard_->keycode(XK_space);
    XGrabKey(user_.get(), space, Mod1Mask, DefaultRootWindow(user_.get()), False, GrabModeAsync, GrabModeAsync);
    XSync(user_.get(), False);
    installRecordingTap();
    EXPECT_EQ(tap_->unavailableChords(), std::vector<std::string>{"Alt+Space"});
    keyboard_->type("a");
    EXPECT_TRUE(waitForRecords(1));
    XUngrabKey(user_.get(), space, Mod1Mask, DefaultRootWindow(user_.get()));
    XSync(user_.get(), False);
    tap_->remove();
    installRecordingTap();
    EXPECT_TRUE(tap_->unavailableChords().empty());
}

// The shortcuts' chords are the ones the tap is given: a letter chord is held back and reported by its
// position, a chord it no longer has reaches the window, and one another program holds is listed.
TEST_F(X11EventTap, GrabsTheChordsItIsGivenAndLetsGoOfTheOldOnes) {
    constexpr std::uint16_t kVirtualK = 40;
    constexpr std::uint16_t kVirtualJ = 38;
    constexpr std::uint64_t kCtrlAlt = modifier_flag::kCommand | modifier_flag::kOption;
    answerFor = [](const KeyEventRecord& record) {
        return (record.flags & kCtrlAlt) != 0 ? TapAnswer::swallow : TapAnswer::pass;
    };
    installRecordingTap();
    tap_->setChords({{kVirtualK, kCtrlAlt}});
    EXPECT_TRUE(tap_->unavailableChords().empty());
    records_.clear();
    const std::string chordsBefore = window_->chords();
    keyboard_->tap(XK_k, {XK_Control_L, XK_Alt_L});
    keyboard_->tap(XK_space, {XK_Alt_L});
    ASSERT_TRUE(settle());
    EXPECT_EQ(window_->chords(), chordsBefore + "alt+space\nctrl+x\n");
    EXPECT_EQ(recordsOfKey(records_, kVirtualK).size(), 1u);

    // The test plays a program that owns Ctrl+Alt+J.
    const KeyCode j = keyboard_->keycode(XK_j);
    XGrabKey(user_.get(), j, ControlMask | Mod1Mask, DefaultRootWindow(user_.get()), False, GrabModeAsync,
             GrabModeAsync);
    XSync(user_.get(), False);
    tap_->setChords({{kVirtualK, kCtrlAlt}, {kVirtualJ, kCtrlAlt}});
    EXPECT_EQ(tap_->unavailableChords(), std::vector<std::string>{"Ctrl+Alt+J"});
    XUngrabKey(user_.get(), j, ControlMask | Mod1Mask, DefaultRootWindow(user_.get()));
    XSync(user_.get(), False);
}

}  // namespace
}  // namespace tarvelo::desktop::testing
