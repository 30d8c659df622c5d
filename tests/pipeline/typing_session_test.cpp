// SPDX-License-Identifier: GPL-3.0-or-later
// A user's day on the pretend desktop: keys go in through the tap, the field's text comes out.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"

namespace tarvelo {
namespace {

constexpr std::uint16_t kZ = virtual_key::kZ;
constexpr std::uint64_t kCommand = modifier_flag::kCommand;
constexpr std::uint64_t kOption = modifier_flag::kOption;

TapAnswer commandZ(SimulatedSession& session) { return session.keyboard.pressChord(kZ, kCommand, "z"); }

TEST(TypingSession, WrongLayoutWordIsCorrectedCountedAndKeptForUndo) {
    SimulatedSession session;
    auto field = session.openField(SimulatedSession::kEditor, "Hi ");

    session.keyboard.type("ghbdtn ");
    EXPECT_EQ(field->text(), "Hi ghbdtn ");
    session.wait(0.1);
    EXPECT_EQ(field->text(), "Hi привет ");  // replaced once the word was processed
    EXPECT_EQ(session.status(), "Correction sent");
    EXPECT_FALSE(session.engine().lastCorrection().get());

    session.wait(0.1);
    EXPECT_EQ(field->markedText(), "Hi привет |");
    EXPECT_EQ(session.status(), "Last word corrected");
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
    EXPECT_EQ(session.statistics.today().russianToEnglish, 0);
    ASSERT_TRUE(session.engine().lastCorrection().get());
    EXPECT_EQ(session.engine().lastCorrection().get()->original, "ghbdtn");
    EXPECT_EQ(session.engine().lastCorrection().get()->replacement, "привет");
    // One accessibility edit; not a single synthesised key.
    EXPECT_TRUE(session.keyboard.posted().empty());
    // Command-Z is held back from the application only while the correction can be undone.
    EXPECT_TRUE(session.keyboard.undoChordWanted());

    session.wait(8.0);
    EXPECT_FALSE(session.engine().lastCorrection().get());
    EXPECT_FALSE(session.keyboard.undoChordWanted());
}

TEST(TypingSession, CommandZWithinEightSecondsUndoesAndLearnsTheWord) {
    SimulatedSession session;
    auto field = session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(7.9);  // 7.82 s after the replacement was sent

    EXPECT_EQ(commandZ(session), TapAnswer::swallow);
    EXPECT_EQ(field->text(), "ghbdtn ");
    EXPECT_EQ(session.status(), "Correction undone");
    EXPECT_EQ(session.exceptions.words().get(), std::vector<std::string>{"ghbdtn"});
    EXPECT_EQ(session.statistics.today().undoCount, 1);
    EXPECT_FALSE(session.engine().lastCorrection().get());

    // Learned: the same word later is left alone.
    session.keyboard.type("ghbdtn ");
    session.wait(0.5);
    EXPECT_EQ(field->text(), "ghbdtn ghbdtn ");
    EXPECT_EQ(session.status(), "Protected or excluded token skipped");
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
}

TEST(TypingSession, CommandZThatCannotUndoReachesTheApplication) {
    struct Case {
        const char* name;
        double wait;
        bool otherApplication;
    };
    for (const Case& c : {Case{"after eight seconds", 8.1, false}, Case{"exactly eight seconds after sending", 8.08, false},
                          Case{"in another application", 1.0, true}}) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        auto field = session.openField();
        session.keyboard.type("ghbdtn ");
        session.wait(c.wait);
        auto other = field;
        if (c.otherApplication) other = session.openField("org.example.Mail", "draft ");

        EXPECT_EQ(commandZ(session), TapAnswer::pass);
        EXPECT_EQ(field->text(), "привет ");
        EXPECT_EQ(session.statistics.today().undoCount, 0);
        EXPECT_TRUE(session.exceptions.words().get().empty());
    }
}

TEST(TypingSession, PasswordFieldIsNeverReadNorChanged) {
    SimulatedSession session;
    auto password = session.openField();
    password->setSubrole("AXSecureTextField");

    session.keyboard.type("ghbdtn ");
    EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);
    session.keyboard.type("ghbd");
    EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);
    session.wait(13.0);
    EXPECT_EQ(password->text(), "ghbdtn ghbd");
    EXPECT_FALSE(session.monitor().lastBoundary());
    EXPECT_EQ(session.status(), "Ready");

    // Neither shortcut touches it either.
    EXPECT_EQ(session.keyboard.pressChord(49, kOption | kCommand, " "), TapAnswer::swallow);
    password->setSelection({0, 6});
    EXPECT_EQ(session.keyboard.pressChord(49, kOption, " "), TapAnswer::swallow);
    session.wait(1.0);
    EXPECT_EQ(password->text(), "ghbdtn ghbd");
}

TEST(TypingSession, ApplicationRefusingTheEditGetsMarkedKeysThatNeverReachTheBuffer) {
    SimulatedSession session;
    auto field = session.openField(SimulatedSession::kEditor, "x ");
    field->setRefusesSelectedText(true);

    session.keyboard.type("ghbdtn ");
    session.wait(0.2);
    EXPECT_EQ(field->text(), "x привет ");
    EXPECT_EQ(session.status(), "Last word corrected");
    // Seven Backspaces and one chunk of typing, each a press and a release, every one marked.
    const auto& posted = session.keyboard.posted();
    ASSERT_EQ(posted.size(), 16u);
    for (std::size_t i = 0; i < 14; ++i) EXPECT_EQ(posted[i].keyCode, 51) << i;
    EXPECT_EQ(posted[14].unicodeString, u"привет ");
    for (const KeyboardEvent& event : posted) EXPECT_EQ(event.userData, kSyntheticEventMarker);
    // The typed "привет " passed the tap unexamined: no word is being built, and no new boundary was made.
    EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);
    ASSERT_TRUE(session.monitor().lastBoundary());
    EXPECT_EQ(session.monitor().lastBoundary()->word, "ghbdtn");
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
}

TEST(TypingSession, SwitchingApplicationBeforeTheReadBackLeavesTheCorrectionUnverified) {
    SimulatedSession session;
    auto field = session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(0.1);
    session.openField("org.example.Mail");
    session.wait(0.2);

    EXPECT_EQ(field->text(), "привет ");
    EXPECT_EQ(session.status(), "Correction sent; result unverified");
    EXPECT_FALSE(session.engine().lastCorrection().get());
    EXPECT_EQ(session.statistics.today().englishToRussian, 0);
    EXPECT_TRUE(session.notificationCenter.posted().empty());
}

TEST(TypingSession, OptionSpaceConvertsTheSelection) {
    SimulatedSession session;
    auto field = session.openField();
    session.keyboard.type("ab");  // a half word that the shortcut drops
    field->setMarkedText("say |ghbdtn vbh| now");
    EXPECT_EQ(session.keyboard.pressChord(49, kOption, " "), TapAnswer::swallow);
    EXPECT_EQ(field->text(), "say привет мир now");
    EXPECT_EQ(session.status(), "Selection converted");
    EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);
    // Nothing is counted or kept for undo for a selection.
    session.wait(1.0);
    EXPECT_EQ(session.statistics.today().englishToRussian, 0);
    EXPECT_FALSE(session.engine().lastCorrection().get());

    // Shift and Control do not change the shortcut.
    field->setMarkedText("|руддщ|");
    EXPECT_EQ(session.keyboard.pressChord(49, kOption | modifier_flag::kShift | modifier_flag::kControl, " "),
              TapAnswer::swallow);
    EXPECT_EQ(field->text(), "hello");

    field->setMarkedText("nothing selected|");
    session.keyboard.pressChord(49, kOption, " ");
    EXPECT_EQ(session.status(), "Select text to convert");
    EXPECT_EQ(field->text(), "nothing selected");
}

TEST(TypingSession, ChangedShortcutsAnswerTheirNewChordsAndLetTheOldOnesPass) {
    SimulatedSession session;
    auto field = session.openField();
    const KeyChord ctrlShiftSpace{virtual_key::kSpace, kCommand | modifier_flag::kShift};
    const KeyChord superF5{96, modifier_flag::kControl};
    ASSERT_FALSE(session.app.hotkeys.setChord(Shortcut::convertLastWord, ctrlShiftSpace));
    ASSERT_FALSE(session.app.hotkeys.setChord(Shortcut::convertSelection, superF5));
    // The tap holds the new chords, so the focused program never gets them.
    EXPECT_EQ(session.keyboard.chords(), (std::vector<KeyChord>{superF5, ctrlShiftSpace}));

    session.keyboard.type("ntrcn");
    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kSpace, kCommand | modifier_flag::kShift, " "),
              TapAnswer::swallow);
    session.wait(0.1);
    EXPECT_EQ(field->text(), "текст");

    // The old chords are ordinary keys again: Ctrl+Alt+Space reaches the program and converts nothing.
    session.keyboard.type(" ghbdtn");
    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kSpace, kOption | kCommand, " "), TapAnswer::pass);
    session.wait(0.1);
    EXPECT_EQ(field->text().find("привет"), std::string::npos);

    field->setMarkedText("say |ghbdtn| now");
    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kSpace, kOption, " "), TapAnswer::pass);
    session.wait(0.1);
    EXPECT_EQ(field->text().find("привет"), std::string::npos);
    field->setMarkedText("say |ghbdtn| now");
    EXPECT_EQ(session.keyboard.pressChord(96, modifier_flag::kControl, std::nullopt), TapAnswer::swallow);
    session.wait(0.1);
    EXPECT_EQ(field->text(), "say привет now");
}

TEST(TypingSession, OptionCommandSpaceConvertsTheHalfTypedWordOrTheLastWord) {
    SimulatedSession session;
    auto field = session.openField();
    const auto convertLastWord = [&] { return session.keyboard.pressChord(49, kOption | kCommand, " "); };

    // A half-typed word: converted in place, without a delimiter, and the buffer is empty after.
    session.keyboard.type("ntrcn");
    EXPECT_EQ(convertLastWord(), TapAnswer::swallow);
    EXPECT_EQ(field->text(), "текст");
    EXPECT_EQ(session.monitor().currentWordLength().get(), 0u);
    session.wait(0.2);
    EXPECT_EQ(session.status(), "Text converted");
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
    EXPECT_FALSE(session.engine().lastCorrection().get());  // a manual conversion cannot be undone

    // The last closed word, with auto switch off so that nothing else touches it.
    session.settings.isAutoSwitchEnabled.set(false);
    session.keyboard.type(" vbh ");
    session.wait(11.9);
    EXPECT_EQ(convertLastWord(), TapAnswer::swallow);
    session.wait(0.2);
    EXPECT_EQ(field->text(), "текст мир ");
    EXPECT_EQ(session.status(), "Text converted");
    EXPECT_EQ(commandZ(session), TapAnswer::pass);
    EXPECT_EQ(field->text(), "текст мир ");

    // Twelve seconds after a word it is gone.
    session.keyboard.type("ljv ");
    session.wait(12.0);
    convertLastWord();
    EXPECT_EQ(session.status(), "No recent word to convert");
    EXPECT_EQ(field->text(), "текст мир ljv ");
}

TEST(TypingSession, NothingIsCorrectedWhereTheUserSaidNo) {
    struct Case {
        const char* name;
        void (*arrange)(SimulatedSession&);
        std::optional<std::string> application;
        const char* status;
    };
    const Case cases[] = {
        {"auto switch off", [](SimulatedSession& s) { s.settings.isAutoSwitchEnabled.set(false); },
         SimulatedSession::kEditor, "Automatic correction is paused or off"},
        {"paused", [](SimulatedSession& s) { s.settings.pause(); }, SimulatedSession::kEditor,
         "Automatic correction is paused or off"},
        {"terminal excluded by default", [](SimulatedSession&) {}, "org.gnome.Terminal",
         "Automatic correction is disabled for this app"},
        {"application excluded by the user", [](SimulatedSession& s) { s.applicationFilter.add("org.example.Editor"); },
         SimulatedSession::kEditor, "Automatic correction is disabled for this app"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        c.arrange(session);
        auto field = session.openField(c.application);
        session.keyboard.type("ghbdtn ");
        session.wait(1.0);
        EXPECT_EQ(field->text(), "ghbdtn ");
        EXPECT_EQ(session.status(), c.status);
        EXPECT_EQ(session.statistics.today().englishToRussian, 0);
    }

    // The same word in an application that is not excluded is corrected.
    SimulatedSession session;
    session.applicationFilter.add("org.example.Other");
    auto field = session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(1.0);
    EXPECT_EQ(field->text(), "привет ");

    // A pause that has run out no longer holds.
    SimulatedSession paused;
    paused.settings.pause();
    paused.wait(301.0);
    auto later = paused.openField();
    paused.keyboard.type("ghbdtn ");
    paused.wait(1.0);
    EXPECT_EQ(later->text(), "привет ");
}

TEST(TypingSession, MissingPermissionStopsTheMonitorAndEveryKeyPasses) {
    SimulatedSession session;
    auto field = session.openField();
    ASSERT_TRUE(session.monitor().isRunning().get());

    session.trust.setListenEvents(false);
    session.wait(2.0);  // the next permission check
    EXPECT_FALSE(session.monitor().isRunning().get());
    EXPECT_FALSE(session.keyboard.isInstalled());
    session.keyboard.type("ghbdtn ");
    session.wait(1.0);
    EXPECT_EQ(field->text(), "ghbdtn ");
    // Without input monitoring not even the shortcuts are seen.
    EXPECT_EQ(session.keyboard.pressChord(49, kOption | kCommand, " "), TapAnswer::pass);

    session.trust.setListenEvents(true);
    session.wait(2.0);
    EXPECT_TRUE(session.monitor().isRunning().get());
    session.keyboard.type("ghbdtn ");
    session.wait(1.0);
    EXPECT_EQ(field->text(), "ghbdtn привет ");
}

TEST(TypingSession, MissingAccessibilityStopsTheMonitorButTheMenuCommandAnswers) {
    SimulatedSession session;
    session.trust.setAccessibility(false);
    session.wait(2.0);
    auto field = session.openField();
    session.keyboard.type("ghbdtn ");
    session.wait(1.0);
    EXPECT_EQ(field->text(), "ghbdtn ");
    EXPECT_FALSE(session.monitor().lastBoundary());

    // The menu's command still answers.
    field->setMarkedText("|ghbdtn|");
    session.engine().convertSelection();
    EXPECT_EQ(session.status(), "Accessibility permission is required");
    EXPECT_EQ(field->text(), "ghbdtn");
}

// A web editor (Firefox, Chromium) keeps a space typed at the end of a line as U+00A0 NO-BREAK SPACE,
// and turns it back into a space when more text follows.
void keepTrailingSpaceAsWebEditorsDo(FakeTextElement& field) {
    std::string text = field.text();
    for (std::size_t at = text.find("\u00a0"); at != std::string::npos; at = text.find("\u00a0", at + 1)) {
        if (at + 2 < text.size()) text.replace(at, 2, " ");
    }
    if (text.ends_with(' ')) text.replace(text.size() - 1, 1, "\u00a0");
    field.setText(text);
}

TEST(TypingSession, WebEditorsNoBreakSpaceCountsAsTheTypedSpaceAndStaysTheirs) {
    SimulatedSession session;
    auto field = session.openField(SimulatedSession::kEditor, "Ok ");
    field->setAfterTyping(keepTrailingSpaceAsWebEditorsDo);

    session.keyboard.type("ghbdtn ");
    EXPECT_EQ(field->markedText(), "Ok ghbdtn\u00a0|");
    session.wait(0.3);
    // The word is replaced and the editor's own space left in place; one accessibility edit.
    EXPECT_EQ(field->markedText(), "Ok привет\u00a0|");
    EXPECT_EQ(session.status(), "Last word corrected");
    EXPECT_TRUE(session.keyboard.posted().empty());

    // The next word turns that space back into a plain one, and is corrected the same way.
    session.keyboard.type("vbh ");
    session.wait(0.3);
    EXPECT_EQ(field->markedText(), "Ok привет мир\u00a0|");
    EXPECT_EQ(session.statistics.today().englishToRussian, 2);

    EXPECT_EQ(commandZ(session), TapAnswer::swallow);
    session.wait(0.3);
    EXPECT_EQ(field->markedText(), "Ok привет vbh\u00a0|");
    EXPECT_EQ(session.status(), "Correction undone");
}

// A word processor capitalises the first word of a sentence when its space is typed.
void capitaliseSentenceStart(FakeTextElement& field) {
    std::string text = field.text();
    if (!text.ends_with(' ')) return;
    const std::size_t start = text.find_last_of(' ', text.size() - 2);
    const std::size_t word = start == std::string::npos ? 0 : start + 1;
    if (word != 0 && !(word >= 2 && text.compare(word - 2, 2, ". ") == 0)) return;
    if (text[word] >= 'a' && text[word] <= 'z') text[word] = static_cast<char>(text[word] - 'a' + 'A');
    field.setText(text);
}

TEST(TypingSession, WordTheApplicationCapitalisedAtTheSpaceIsCorrectedAsTheFieldHoldsIt) {
    struct Case {
        const char* name;
        const char* before;
        const char* corrected;
        const char* undone;
    };
    for (const Case& c : {Case{"the first word", "", "Привет |", "Ghbdtn |"},
                          Case{"after a full stop", "Ok. ", "Ok. Привет |", "Ok. Ghbdtn |"},
                          Case{"mid-sentence, left as typed", "Ok ", "Ok привет |", "Ok ghbdtn |"}}) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        auto field = session.openField(SimulatedSession::kEditor, c.before);
        field->setAfterTyping(capitaliseSentenceStart);

        session.keyboard.type("ghbdtn ");
        session.wait(0.3);
        EXPECT_EQ(field->markedText(), c.corrected);
        EXPECT_EQ(session.status(), "Last word corrected");
        EXPECT_TRUE(session.keyboard.posted().empty());

        EXPECT_EQ(commandZ(session), TapAnswer::swallow);
        session.wait(0.3);
        EXPECT_EQ(field->markedText(), c.undone);
        EXPECT_EQ(session.status(), "Correction undone");
    }

    // An autocorrect that made another word of it: what the field holds is not the user's word.
    SimulatedSession session;
    auto field = session.openField();
    field->setAfterTyping([](FakeTextElement& f) {
        if (f.text() == "ghbdtn ") f.setText("Ghbdtm ");
    });
    session.keyboard.type("ghbdtn ");
    session.wait(0.5);
    EXPECT_EQ(field->markedText(), "Ghbdtm |");
    EXPECT_EQ(session.status(), "Correction could not be sent");
}

}  // namespace
}  // namespace tarvelo
