// SPDX-License-Identifier: GPL-3.0-or-later
// A tap that holds every key until it has answered, as an input method does: the word is decided at
// its delimiter, before the next key, and no key can land inside an edit.

#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"

namespace tarvelo {
namespace {

struct HoldingSession : SimulatedSession {
    HoldingSession() { keyboard.setHoldsKeys(true); }
};

TEST(HoldingTapSession, CorrectsAtTheDelimiterBeforeAnyTimePassesAndKeepsTheUsualRules) {
    HoldingSession session;
    auto field = session.openField(SimulatedSession::kEditor, "Hi ");

    session.keyboard.type("ghbdtn ");
    // No main-loop turn in between: the key that closed the word came back with the word replaced.
    EXPECT_EQ(field->markedText(), "Hi привет |");
    EXPECT_EQ(session.status(), "Correction sent");
    EXPECT_TRUE(session.keyboard.posted().empty());
    EXPECT_FALSE(session.engine().lastCorrection().get());

    // The read-back still comes 0.12 s later, and undo lasts 8 s from then.
    session.keyboard.type("vbh");
    session.wait(AutoSwitchEngine::kVerificationDelay);
    EXPECT_EQ(session.status(), "Last word corrected");
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
    ASSERT_TRUE(session.engine().lastCorrection().get());
    session.keyboard.type(" ");
    EXPECT_EQ(field->markedText(), "Hi привет мир |");
    session.wait(AutoSwitchEngine::kVerificationDelay);
    EXPECT_EQ(session.statistics.today().englishToRussian, 2);

    // Ctrl+Z undoes the latest at once, inside the key.
    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kZ, modifier_flag::kCommand, "z"), TapAnswer::swallow);
    EXPECT_EQ(field->markedText(), "Hi привет vbh |");
    EXPECT_EQ(session.status(), "Correction undone");

    // A word on the right layout passes with nothing changed.
    session.keyboard.type("hello ");
    EXPECT_EQ(field->markedText(), "Hi привет vbh hello |");
    EXPECT_EQ(session.status(), "No layout error detected");
}

TEST(HoldingTapSession, KeysPressedDuringAnEditArriveAfterItInOrder) {
    // The user's key lands while the engine reads the field, selects the word, or writes it.
    for (const char* request : {"AXSelectedTextRange", "AXStringForRange", "AXSelectedText"}) {
        SCOPED_TRACE(request);
        HoldingSession session;
        auto field = session.openField();
        session.keyboard.type("ghbdtn");
        bool pressed = false;
        field->setAfterRequest([&](std::string_view name) {
            if (pressed || name != request) return;
            pressed = true;
            session.keyboard.type("vb");
        });
        session.keyboard.type(" ");
        field->setAfterRequest(nullptr);
        EXPECT_TRUE(pressed);
        EXPECT_EQ(field->markedText(), "привет vb|");
        session.keyboard.type("h ");
        EXPECT_EQ(field->markedText(), "привет мир |");
    }
}

TEST(HoldingTapSession, PasswordFieldAndTheBlindRuleAreKept) {
    HoldingSession session;
    auto password = session.openField();
    password->setSubrole("AXSecureTextField");
    session.keyboard.type("ghbdtn ");
    session.wait(1.0);
    EXPECT_EQ(password->text(), "ghbdtn ");
    EXPECT_FALSE(session.monitor().lastBoundary());
    EXPECT_EQ(session.statistics.today().englishToRussian, 0);

    // A field that cannot show its text is typed over only while nothing followed the word: inside the
    // held delimiter nothing can.
    auto blind = session.openField();
    blind->setLacksStringForRange(true);
    blind->setRefusesSelectedText(true);
    session.keyboard.type("ghbdtn ");
    EXPECT_EQ(blind->text(), "привет ");
}

// The backend says when the focus moves: the letters typed in one field do not begin the next field's
// word, which is corrected on its own.
TEST(HoldingTapSession, AWordLeftUnfinishedInOneFieldDoesNotJoinTheNextFieldsWord) {
    HoldingSession session;
    auto first = session.openField();
    session.keyboard.type("vbh");
    auto second = session.openField();
    session.keyboard.moveFocus();
    session.keyboard.type("ghbdtn ");
    EXPECT_EQ(first->text(), "vbh");
    EXPECT_EQ(second->markedText(), "привет |");
}

// Ctrl+Z pressed before the read-back (0.12 s) still undoes the correction: the read-back is made at
// once, and the key kept from the application, whose own undo would take something else back.
TEST(HoldingTapSession, CtrlZRightAfterACorrectionUndoesIt) {
    HoldingSession session;
    auto field = session.openField();
    session.keyboard.type("ghbdtn vbh ");
    EXPECT_EQ(field->markedText(), "привет мир |");
    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kZ, modifier_flag::kCommand, "z"), TapAnswer::swallow);
    EXPECT_EQ(field->markedText(), "привет vbh |");
    EXPECT_EQ(session.status(), "Correction undone");
    // Both corrections were counted, once each.
    session.wait(1.0);
    EXPECT_EQ(session.statistics.today().englishToRussian, 2);
    EXPECT_EQ(session.statistics.today().undoCount, 1);
}

// The application that sent the chord waits for its answer, and may be the one to say what is selected:
// nothing is asked of it before the key is answered.
TEST(HoldingTapSession, TheSelectionIsConvertedOnceTheChordIsAnswered) {
    HoldingSession session;
    auto field = session.openField();
    field->setMarkedText("say |ghbdtn vbh|");
    const std::size_t requests = field->requestCount();
    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kSpace, modifier_flag::kOption, " "), TapAnswer::swallow);
    EXPECT_EQ(field->requestCount(), requests);
    EXPECT_EQ(field->markedText(), "say |ghbdtn vbh|");
    session.wait(0.0);
    EXPECT_EQ(field->markedText(), "say привет мир|");
    EXPECT_EQ(session.status(), "Selection converted");
}

}  // namespace
}  // namespace tarvelo
