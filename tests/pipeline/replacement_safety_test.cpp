// SPDX-License-Identifier: GPL-3.0-or-later
// A replacement must never remove anything but the word it replaces: not the keys the user typed after
// it, and not text the application had not yet shown.

#include <string>

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"

namespace tarvelo {
namespace {

constexpr std::uint64_t kOption = modifier_flag::kOption;
constexpr std::uint64_t kCommand = modifier_flag::kCommand;

// How an application lets the system at its text.
enum class FieldKind {
    readable,      // answers what is before the caret and takes the edit
    keystrokes,    // answers what is before the caret, refuses the edit: Backspaces and typing
    blind,         // answers neither: keystrokes, counted without looking
};

std::shared_ptr<FakeTextElement> openField(SimulatedSession& session, FieldKind kind, std::string_view text = {}) {
    auto field = session.openField(SimulatedSession::kEditor, text);
    field->setRefusesSelectedText(kind != FieldKind::readable);
    field->setLacksStringForRange(kind == FieldKind::blind);
    return field;
}

TEST(ReplacementSafety, AWordIsReplacedBehindTheKeysTypedAfterIt) {
    struct Case {
        FieldKind kind;
        const char* next;  // typed right after the space, before the word is processed; "<" is Backspace
        const char* text;  // the field afterwards
        const char* status;
    };
    const Case cases[] = {
        {FieldKind::readable, "x", "привет x|", "Last word corrected"},
        {FieldKind::readable, "rf", "привет rf|", "Last word corrected"},
        // Backspaces count as keys too: what they leave is what follows the word.
        {FieldKind::readable, "xy<", "привет x|", "Last word corrected"},
        // A Backspace that takes the space leaves no word with its delimiter to replace.
        {FieldKind::readable, "<", "ghbdtn|", "Correction could not be sent"},
        // Without an accessibility edit the word could only be reached by Backspaces through the new keys.
        {FieldKind::keystrokes, "x", "ghbdtn x|", "Correction could not be sent"},
        {FieldKind::blind, "x", "ghbdtn x|", "Correction could not be sent"},
        {FieldKind::blind, "<", "ghbdtn|", "Correction could not be sent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.next) + " in field kind " + std::to_string(static_cast<int>(c.kind)));
        SimulatedSession session;
        auto field = openField(session, c.kind);
        session.keyboard.type("ghbdtn ");
        // "<" stands for Backspace.
        for (const char key : std::string_view(c.next)) {
            if (key == '<') {
                session.keyboard.pressDelete();
            } else {
                session.keyboard.type(std::string(1, key));
            }
        }
        session.wait(1.0);

        EXPECT_EQ(field->markedText(), c.text);
        EXPECT_EQ(session.status(), c.status);
        const bool corrected = std::string_view(c.status) == "Last word corrected";
        EXPECT_EQ(session.statistics.today().englishToRussian, corrected ? 1 : 0);
        EXPECT_EQ(session.engine().lastCorrection().get().has_value(), corrected);
        if (!corrected) {
            EXPECT_TRUE(session.keyboard.posted().empty());
        }
    }
}

TEST(ReplacementSafety, UntouchedWordIsReplacedWhateverTheApplicationAllows) {
    for (const FieldKind kind : {FieldKind::readable, FieldKind::keystrokes, FieldKind::blind}) {
        SCOPED_TRACE(static_cast<int>(kind));
        SimulatedSession session;
        auto field = openField(session, kind);
        session.keyboard.type("ghbdtn ");
        session.wait(1.0);
        EXPECT_EQ(field->text(), "привет ");
        // A field that cannot be read back cannot confirm the correction, so it is not counted.
        EXPECT_EQ(session.status(), kind == FieldKind::blind ? "Correction sent; result unverified" : "Last word corrected");
    }
}

TEST(ReplacementSafety, TextTheApplicationHasNotShownYetIsNotGuessedAt) {
    SimulatedSession session;
    auto field = session.openField(SimulatedSession::kEditor, "one ");
    session.keyboard.type("ghbdtn ");
    // The application rewrites its text before the word is processed (an autocompletion, a lagging
    // view): what is before the caret is no longer the word.
    field->setText("one ghbdtn, ");
    session.wait(1.0);
    EXPECT_EQ(field->text(), "one ghbdtn, ");
    EXPECT_EQ(session.status(), "Correction could not be sent");
}

TEST(ReplacementSafety, UndoRestoresTheWordWhereItStands) {
    SimulatedSession session;
    auto field = openField(session, FieldKind::readable);
    session.keyboard.type("ghbdtn ");
    session.wait(1.0);
    ASSERT_TRUE(session.engine().lastCorrection().get());
    session.keyboard.type("rfr");

    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kZ, kCommand, "z"), TapAnswer::swallow);
    EXPECT_EQ(field->markedText(), "ghbdtn rfr|");
    EXPECT_EQ(session.status(), "Correction undone");
    EXPECT_EQ(session.exceptions.words().get(), std::vector<std::string>{"ghbdtn"});
    EXPECT_EQ(session.statistics.today().undoCount, 1);
}

TEST(ReplacementSafety, UndoLeavesTextItCannotAccountFor) {
    struct Case {
        FieldKind kind;
        bool moveCaret;  // an arrow key: where the correction stands is no longer known
        const char* text;
    };
    // A field that takes no edit can only be undone by Backspaces through what followed.
    for (const Case& c : {Case{FieldKind::keystrokes, false, "привет b|"}, Case{FieldKind::readable, true, "привет b|"}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        SimulatedSession session;
        auto field = openField(session, c.kind);
        session.keyboard.type("ghbdtn ");
        session.wait(1.0);
        ASSERT_TRUE(session.engine().lastCorrection().get());
        session.keyboard.type("b");
        if (c.moveCaret) session.keyboard.pressChord(123, 0);
        const std::size_t postedBefore = session.keyboard.posted().size();

        const TapAnswer answer = session.keyboard.pressChord(virtual_key::kZ, kCommand, "z");
        session.wait(0.5);
        EXPECT_EQ(field->markedText(), c.text);
        EXPECT_EQ(session.keyboard.posted().size(), postedBefore);
        EXPECT_TRUE(session.exceptions.words().get().empty());
        EXPECT_EQ(session.statistics.today().undoCount, 0);
        // Where the keys since are unknown Ctrl+Z is the application's own again.
        EXPECT_EQ(answer, c.moveCaret ? TapAnswer::pass : TapAnswer::swallow);
        if (!c.moveCaret) {
            EXPECT_EQ(session.status(), "Undo could not be sent");
            // Once the extra key is gone again the undo goes through, within the same eight seconds.
            session.keyboard.pressDelete();
            session.keyboard.pressChord(virtual_key::kZ, kCommand, "z");
            EXPECT_EQ(field->text(), "ghbdtn ");
            EXPECT_EQ(session.status(), "Correction undone");
        }
    }
}

TEST(ReplacementSafety, ConvertLastWordLeavesWhatFollowsTheWord) {
    for (const FieldKind kind : {FieldKind::readable, FieldKind::blind}) {
        SCOPED_TRACE(static_cast<int>(kind));
        SimulatedSession session;
        session.settings.isAutoSwitchEnabled.set(false);
        auto field = openField(session, kind);
        session.keyboard.type("ab vbh ");
        session.keyboard.pressDelete();  // the space is gone; the word is still the last closed one
        session.wait(1.0);

        session.keyboard.pressChord(49, kOption | kCommand, " ");
        EXPECT_EQ(field->text(), "ab vbh");
        EXPECT_EQ(session.status(), "Correction could not be sent");
    }
}

TEST(ReplacementSafety, TextTheMonitorNeverSawStopsTheEdit) {
    // The application shows a character no key of the user's brought (an autocompletion): the word's
    // place is no longer known, and nothing is sent blind.
    for (const FieldKind kind : {FieldKind::readable, FieldKind::keystrokes}) {
        SCOPED_TRACE(static_cast<int>(kind));
        SimulatedSession session;
        auto field = openField(session, kind);
        bool typed = false;
        field->setAfterRequest([&](std::string_view name) {
            if (name != "AXStringForRange" || typed) return;
            typed = true;
            field->insert("x");
        });
        session.keyboard.type("ghbdtn ");
        session.wait(0.2);
        EXPECT_EQ(field->text(), "ghbdtn x");
        EXPECT_TRUE(session.keyboard.posted().empty()) << "no Backspace is sent blind";
        EXPECT_EQ(session.status(), "Correction could not be sent");
    }
}

TEST(ReplacementSafety, AKeyPressedAtAnyMomentOfTheEditKeepsItsPlace) {
    // The user's "x" reaches the desktop after the n-th accessibility request of the correction: between
    // the first look and the freeze it goes straight into the field, later it waits for the thaw. Either
    // way it stands after the corrected word, and the correction stands and is counted.
    for (const bool twoSteps : {false, true}) {
        for (std::size_t n = 1;; ++n) {
            SCOPED_TRACE("key after request " + std::to_string(n) + (twoSteps ? ", delete then insert" : ""));
            SimulatedSession session;
            auto field = openField(session, FieldKind::readable);
            field->setEditsInTwoSteps(twoSteps);
            session.keyboard.type("ghbdtn ");
            std::size_t requests = 0;
            bool typed = false;
            std::string moment;
            field->setAfterRequest([&](std::string_view name) {
                if (typed || session.status() == "Correction sent" || ++requests != n) return;
                typed = true;
                moment = std::string(name) + (session.keyboard.isFrozen() ? " (frozen)" : "");
                session.keyboard.type("x");
            });
            session.wait(1.0);
            if (!typed) break;  // the edit was over before the n-th request
            SCOPED_TRACE("at " + moment);
            EXPECT_EQ(field->markedText(), "привет x|");
            EXPECT_EQ(session.status(), "Last word corrected");
            EXPECT_EQ(session.statistics.today().englishToRussian, 1);
            EXPECT_FALSE(session.keyboard.isFrozen());
            EXPECT_EQ(session.keyboard.heldKeyCount(), 0u);
        }
    }
}

TEST(ReplacementSafety, AKeyDuringTheReadBackStillLetsTheCorrectionCount) {
    SimulatedSession session;
    auto field = openField(session, FieldKind::readable);
    session.keyboard.type("ghbdtn ");
    session.wait(0.1);
    ASSERT_EQ(session.status(), "Correction sent");
    // A key arrives after the read-back has worked out what should follow the word, before it looks.
    bool typed = false;
    field->setAfterRequest([&](std::string_view name) {
        if (typed || name != "AXRole") return;
        typed = true;
        session.keyboard.type("x");
    });
    session.wait(1.0);
    EXPECT_EQ(field->markedText(), "привет x|");
    EXPECT_EQ(session.status(), "Last word corrected");
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
}

TEST(ReplacementSafety, AnApplicationThatLagsIsWaitedForUntilTheLatestStart) {
    struct Case {
        double catchUpAfter;  // seconds after the space
        const char* text;
        const char* status;
    };
    for (const Case& c : {Case{0.0, "привет x|", "Last word corrected"}, Case{0.03, "привет x|", "Last word corrected"},
                          Case{0.2, "ghbdtn x|", "Correction could not be sent"}}) {
        SCOPED_TRACE(c.catchUpAfter);
        SimulatedSession session;
        auto field = openField(session, FieldKind::readable);
        session.keyboard.setApplicationLags(true);
        session.keyboard.type("ghbdtn x");
        EXPECT_EQ(field->text(), "");
        session.wait(c.catchUpAfter);
        session.keyboard.setApplicationLags(false);
        session.wait(1.0);
        EXPECT_EQ(field->markedText(), c.text);
        EXPECT_EQ(session.status(), c.status);
    }
}

TEST(ReplacementSafety, NothingIsEditedWhileTheKeyboardCannotBeHeld) {
    SimulatedSession session;
    auto field = openField(session, FieldKind::readable);
    session.keyboard.setFreezeFails(true);
    session.keyboard.type("ghbdtn ");
    session.wait(1.0);
    EXPECT_EQ(field->text(), "ghbdtn ");
    EXPECT_EQ(field->changeCount(), 0u);
    EXPECT_EQ(session.status(), "Correction could not be sent");
}

TEST(ReplacementSafety, ACaretMovedAwayStopsTheCorrection) {
    SimulatedSession session;
    auto field = openField(session, FieldKind::readable, "start ");
    session.keyboard.type("ghbdtn ");
    // A click puts the caret at the start before the word is processed; the monitor sees no key.
    field->setSelection(TextRange{0, 0});
    session.wait(1.0);
    EXPECT_EQ(field->markedText(), "|start ghbdtn ");
    EXPECT_EQ(session.status(), "Correction could not be sent");
}

}  // namespace
}  // namespace tarvelo
