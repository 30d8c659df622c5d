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

std::shared_ptr<FakeTextElement> openField(SimulatedSession& session, FieldKind kind) {
    auto field = session.openField();
    field->setRefusesSelectedText(kind != FieldKind::readable);
    field->setLacksStringForRange(kind == FieldKind::blind);
    return field;
}

TEST(ReplacementSafety, KeysTypedBeforeTheWordIsProcessedAreKept) {
    struct Case {
        FieldKind kind;
        const char* next;  // typed 0.05 s after the space, before the word is processed
        const char* text;  // the field afterwards
    };
    const Case cases[] = {
        {FieldKind::readable, "x", "ghbdtn x"},
        {FieldKind::keystrokes, "x", "ghbdtn x"},
        {FieldKind::blind, "x", "ghbdtn x"},
        // A key that leaves no character (Delete) still means the text before the caret has moved on.
        {FieldKind::blind, nullptr, "ghbdtn"},
        {FieldKind::readable, nullptr, "ghbdtn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in field kind " + std::to_string(static_cast<int>(c.kind)));
        SimulatedSession session;
        auto field = openField(session, c.kind);
        session.keyboard.type("ghbdtn ");
        session.wait(0.05);
        if (c.next) {
            session.keyboard.type(c.next);
        } else {
            session.keyboard.pressDelete();
        }
        session.wait(1.0);

        EXPECT_EQ(field->text(), c.text);
        EXPECT_EQ(session.status(), "Correction could not be sent");
        EXPECT_TRUE(session.keyboard.posted().empty());
        EXPECT_EQ(session.statistics.today().englishToRussian, 0);
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

TEST(ReplacementSafety, UndoLeavesWhatWasTypedAfterTheCorrection) {
    // A blind field never confirms a correction, so it never has one to undo.
    for (const FieldKind kind : {FieldKind::readable, FieldKind::keystrokes}) {
        SCOPED_TRACE(static_cast<int>(kind));
        SimulatedSession session;
        auto field = openField(session, kind);
        session.keyboard.type("ghbdtn ");
        session.wait(1.0);
        ASSERT_TRUE(session.engine().lastCorrection().get());
        session.keyboard.type("b");
        const std::size_t postedBefore = session.keyboard.posted().size();

        session.keyboard.pressChord(virtual_key::kZ, kCommand, "z");
        EXPECT_EQ(field->text(), "привет b");
        EXPECT_EQ(session.status(), "Undo could not be sent");
        EXPECT_EQ(session.keyboard.posted().size(), postedBefore);
        EXPECT_TRUE(session.exceptions.words().get().empty());
        EXPECT_EQ(session.statistics.today().undoCount, 0);

        // Once the extra key is gone again the undo goes through, within the same eight seconds.
        session.keyboard.pressDelete();
        session.keyboard.pressChord(virtual_key::kZ, kCommand, "z");
        EXPECT_EQ(field->text(), "ghbdtn ");
        EXPECT_EQ(session.status(), "Correction undone");
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

TEST(ReplacementSafety, AKeyLandingBetweenTheCheckAndTheEditIsKept) {
    // The application takes the key while the system is between reading the word and editing it.
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

}  // namespace
}  // namespace tarvelo
