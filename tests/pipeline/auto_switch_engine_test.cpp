// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/auto_switch_engine.h"

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/fake/simulated_session.h"

namespace tarvelo {
namespace {

// A word closed just now in the focused application, as the keyboard monitor would hand it over once
// the field shows it.
BoundarySnapshot typedWord(SimulatedSession& session, const std::string& word, const std::string& delimiter = " ") {
    session.desktop.focusedTextElement()->insert(word + delimiter);
    return {word, delimiter, session.desktop.frontmostApplicationIdentifier(), session.clock.now(),
            session.engine().passedKeyCount()};
}

TEST(AutoSwitchEngine, CorrectsExactlyFromTheRequiredMargin) {
    SimulatedSession session;
    session.openField();
    LanguageDetector detector(LayoutConverter(), session.nullSpellChecker, session.nullRecognizer);
    const DetectionResult verdict = detector.evaluateToken("ghbdtn");
    const double margin = verdict.convertedScore - verdict.originalScore;

    // The largest sensitivity whose required margin the word still meets.
    double sensitivity = (margin - AutoSwitchEngine::kMarginBase) / AutoSwitchEngine::kMarginSlope;
    while (AutoSwitchEngine::requiredMargin(sensitivity) > margin) sensitivity = std::nextafter(sensitivity, -1e9);
    while (AutoSwitchEngine::requiredMargin(std::nextafter(sensitivity, 1e9)) <= margin) {
        sensitivity = std::nextafter(sensitivity, 1e9);
    }
    ASSERT_GT(sensitivity, 0.72);  // the word is corrected at the default sensitivity too

    session.settings.sensitivity.set(std::nextafter(sensitivity, 1e9));
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    EXPECT_EQ(session.status(), "No layout error detected");

    // Each word starts a run of its own: next to a corrected word, any margin would do.
    session.engine().breakRun();
    session.settings.sensitivity.set(sensitivity);
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    EXPECT_EQ(session.status(), "Correction sent");

    session.engine().breakRun();
    session.settings.sensitivity.set(std::numeric_limits<double>::quiet_NaN());
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    EXPECT_EQ(session.status(), "No layout error detected");
    EXPECT_DOUBLE_EQ(AutoSwitchEngine::requiredMargin(0.5), 3.0);
}

TEST(AutoSwitchEngine, LeavesWordsThatMustNotBeTouched) {
    struct Case {
        const char* word;
        const char* status;
    };
    const Case cases[] = {
        {"git", "Protected or excluded token skipped"},      // a technical word
        {"ghbdtn2", "Protected or excluded token skipped"},  // digits
        {"USB", "Protected or excluded token skipped"},      // an abbreviation
        {"rfrjq", "Protected or excluded token skipped"},    // the user's exception, any case
        {"hello", "No layout error detected"},
        {"привет", "No layout error detected"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        SimulatedSession session;
        session.exceptions.add("RFRJQ");
        auto field = session.openField();
        session.engine().processBoundary(typedWord(session, c.word));
        session.wait(1.0);
        EXPECT_EQ(session.status(), c.status);
        EXPECT_EQ(field->text(), std::string(c.word) + " ");
    }
}

TEST(AutoSwitchEngine, FailedSendChangesNothingMore) {
    SimulatedSession session;
    auto field = session.openField();
    field->setRefusesSelectedText(true);
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    session.wait(1.0);
    ASSERT_TRUE(session.engine().lastCorrection().get());
    const double confirmed = session.engine().lastCorrection().get()->timestamp;

    // The typing after six Backspace presses cannot be created: the Backspaces stay, nothing is counted.
    session.keyboard.failOnPost(13);
    session.engine().processBoundary(typedWord(session, "ckjdj"));
    session.wait(1.0);
    EXPECT_EQ(session.status(), "Correction could not be sent");
    EXPECT_EQ(field->text(), "привет ");
    ASSERT_TRUE(session.engine().lastCorrection().get());
    EXPECT_EQ(session.engine().lastCorrection().get()->timestamp, confirmed);
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
}

TEST(AutoSwitchEngine, CorrectionThatCannotBeReadBackIsNotKept) {
    SimulatedSession session;
    auto field = session.openField();
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    session.wait(1.0);
    ASSERT_TRUE(session.engine().lastCorrection().get());

    // The application stops answering what is before the caret: the edit is made, the result unknown.
    field->setLacksStringForRange(true);
    session.engine().processBoundary(typedWord(session, "ckjdj"));
    session.wait(0.2);
    EXPECT_EQ(field->text(), "привет слово ");
    EXPECT_EQ(session.status(), "Correction sent; result unverified");
    EXPECT_FALSE(session.engine().lastCorrection().get());  // the earlier one went too
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);
}

TEST(AutoSwitchEngine, ApplicationThatShowsTheEditLateIsWaitedFor) {
    // `showsAfter` seconds after the correction a browser's accessibility still shows what was there
    // before the edit; then it shows the edit.
    const auto correctShownLate = [](double showsAfter) {
        auto session = std::make_unique<SimulatedSession>();
        auto field = session->openField();
        session->engine().processBoundary(typedWord(*session, "ghbdtn"));
        session->wait(0.1);
        EXPECT_EQ(field->text(), "привет ");
        field->setText("ghbdtn ");
        session->wait(showsAfter);
        EXPECT_FALSE(session->engine().lastCorrection().get());
        field->setText("привет ");
        session->wait(1.0);
        return session;
    };
    {
        SCOPED_TRACE("the edit shows after a second: confirmed then");
        const auto session = correctShownLate(1.0);
        EXPECT_EQ(session->status(), "Last word corrected");
        EXPECT_TRUE(session->engine().lastCorrection().get());
        EXPECT_EQ(session->statistics.today().englishToRussian, 1);
    }
    {
        SCOPED_TRACE("the edit shows only after the longer wait: unverified");
        const auto session = correctShownLate(3.0);
        EXPECT_EQ(session->status(), "Correction sent; result unverified");
        EXPECT_FALSE(session->engine().lastCorrection().get());
        EXPECT_EQ(session->statistics.today().englishToRussian, 0);
    }
}

TEST(AutoSwitchEngine, NewerCorrectionOutlivesTheExpiryOfTheOlder) {
    SimulatedSession session;
    session.openField();
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    session.wait(5.0);
    session.engine().processBoundary(typedWord(session, "ckjdj"));
    session.wait(3.5);  // the first one's expiry has run
    ASSERT_TRUE(session.engine().lastCorrection().get());
    EXPECT_EQ(session.engine().lastCorrection().get()->original, "ckjdj");
    session.wait(5.0);
    EXPECT_FALSE(session.engine().lastCorrection().get());
    EXPECT_EQ(session.statistics.today().englishToRussian, 2);
}

TEST(AutoSwitchEngine, ConfirmedCorrectionsSoundAndNotifyAsChosen) {
    SimulatedSession session;
    session.openField();
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    session.wait(1.0);
    EXPECT_TRUE(session.sound.played().empty());
    EXPECT_TRUE(session.notificationCenter.posted().empty());

    session.settings.playSound.set(true);
    session.settings.showNotification.set(true);
    session.engine().processBoundary(typedWord(session, "ckjdj"));
    session.wait(1.0);
    EXPECT_EQ(session.sound.played(), std::vector<std::string>{"Tink"});
    ASSERT_EQ(session.notificationCenter.posted().size(), 1u);
    EXPECT_EQ(session.notificationCenter.posted()[0].title, "Layout corrected");

    // A replacement that is not found in place when read back is not announced.
    session.engine().processBoundary(typedWord(session, "lfdfq"));
    session.desktop.focusedTextElement()->insert("!");
    session.wait(1.0);
    EXPECT_EQ(session.status(), "Correction sent; result unverified");
    EXPECT_EQ(session.sound.played().size(), 1u);
    EXPECT_EQ(session.notificationCenter.posted().size(), 1u);
}

TEST(AutoSwitchEngine, SelectsTheCorrectedWordsLayoutOnlyWhenAskedAndOnlyOnceConfirmed) {
    const std::vector<KeyboardLayout> russian{KeyboardLayout::russian};
    {
        SCOPED_TRACE("off, as it is unless the user turns it on");
        SimulatedSession session;
        auto field = session.openField();
        session.engine().processBoundary(typedWord(session, "ghbdtn"));
        session.wait(1.0);
        EXPECT_EQ(field->text(), "привет ");
        EXPECT_TRUE(session.inputContext.selections().empty());
        EXPECT_FALSE(session.inputContext.selectedKeyboardInputSource());
    }
    {
        SCOPED_TRACE("on: each confirmed correction, in either direction");
        SimulatedSession session;
        session.settings.switchLayoutAfterCorrection.set(true);
        auto field = session.openField();
        session.engine().processBoundary(typedWord(session, "ghbdtn"));
        EXPECT_EQ(session.status(), "Correction sent");
        EXPECT_TRUE(session.inputContext.selections().empty());  // not before the read-back
        session.wait(2.0);  // the status bar's layout name is read every two seconds
        EXPECT_EQ(session.status(), "Last word corrected");
        EXPECT_EQ(session.inputContext.selections(), russian);
        EXPECT_EQ(session.inputContext.selectedKeyboardInputSource(), "ru");
        EXPECT_EQ(session.inputSource.displayName().get(), "Russian");

        session.engine().processBoundary(typedWord(session, "руддщ"));
        session.wait(1.0);
        EXPECT_EQ(field->text(), "привет hello ");
        EXPECT_EQ(session.inputContext.selections(), (std::vector<KeyboardLayout>{KeyboardLayout::russian, KeyboardLayout::english}));
        EXPECT_EQ(session.inputContext.selectedKeyboardInputSource(), "us");
    }
    {
        SCOPED_TRACE("on: undo and the user's own conversions select nothing");
        SimulatedSession session;
        session.settings.switchLayoutAfterCorrection.set(true);
        auto field = session.openField();
        session.engine().processBoundary(typedWord(session, "ghbdtn"));
        session.wait(1.0);
        ASSERT_EQ(session.inputContext.selections(), russian);
        session.engine().undoLastCorrection();
        session.wait(1.0);
        EXPECT_EQ(session.status(), "Correction undone");
        session.engine().convertLastWord(typedWord(session, "vbh"));
        session.wait(1.0);
        session.desktop.focusedTextElement()->insert("ntrcn");
        session.engine().convertCurrentWord("ntrcn", SimulatedSession::kEditor);
        session.wait(1.0);
        EXPECT_EQ(session.status(), "Text converted");
        EXPECT_EQ(field->text(), "ghbdtn мир текст");
        EXPECT_EQ(session.inputContext.selections(), russian);
    }
    {
        SCOPED_TRACE("on: a correction not sent, or not found in place, selects nothing");
        SimulatedSession session;
        session.settings.switchLayoutAfterCorrection.set(true);
        auto field = session.openField();
        field->setRefusesSelectedText(true);
        session.keyboard.failOnPost(7);
        session.engine().processBoundary(typedWord(session, "ghbdtn"));
        session.wait(1.0);
        EXPECT_EQ(session.status(), "Correction could not be sent");
        field->setRefusesSelectedText(false);
        session.engine().processBoundary(typedWord(session, "ckjdj"));
        field->insert("!");
        session.wait(1.0);
        EXPECT_EQ(session.status(), "Correction sent; result unverified");
        EXPECT_TRUE(session.inputContext.selections().empty());
        EXPECT_FALSE(session.inputContext.selectedKeyboardInputSource());
    }
}

TEST(AutoSwitchEngine, WordInAnApplicationWithoutIdentifierIsUndoneOnlyThere) {
    SimulatedSession session;
    auto field = std::make_shared<FakeTextElement>();
    session.focus(std::nullopt, field);
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    session.wait(1.0);
    EXPECT_EQ(session.status(), "Last word corrected");
    EXPECT_TRUE(session.engine().canUndo(std::nullopt));
    EXPECT_FALSE(session.engine().canUndo("org.example.Editor"));

    session.focus("org.example.Editor", field);
    session.engine().undoLastCorrection();
    EXPECT_EQ(field->text(), "привет ");
    session.focus(std::nullopt, field);
    session.engine().undoLastCorrection();
    EXPECT_EQ(field->text(), "ghbdtn ");
}

TEST(AutoSwitchEngine, UndoThatCannotBeSentCanBeTriedAgain) {
    SimulatedSession session;
    auto field = session.openField();
    session.engine().processBoundary(typedWord(session, "ghbdtn"));
    session.wait(1.0);
    field->setRefusesSelectedText(true);
    session.keyboard.failOnPost(1);

    session.engine().undoLastCorrection();
    EXPECT_EQ(session.status(), "Undo could not be sent");
    EXPECT_TRUE(session.engine().lastCorrection().get());
    EXPECT_EQ(field->text(), "привет ");

    session.engine().undoLastCorrection();
    EXPECT_EQ(session.status(), "Correction undone");
    EXPECT_EQ(field->text(), "ghbdtn ");
    EXPECT_EQ(session.statistics.today().undoCount, 1);
}

TEST(AutoSwitchEngine, ConvertLastWordRefusesWhatItCannotUse) {
    struct Case {
        const char* name;
        std::optional<std::string> application;
        const char* word;
        double age;
    };
    const Case cases[] = {
        {"digits only", SimulatedSession::kEditor, "1234", 1.0},
        {"typed in an excluded application", "org.gnome.Terminal", "ghbdtn", 1.0},
        {"twelve seconds old", SimulatedSession::kEditor, "ghbdtn", 12.0},
        {"of no age at all", SimulatedSession::kEditor, "ghbdtn", std::numeric_limits<double>::quiet_NaN()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session;
        auto field = session.openField(c.application);
        BoundarySnapshot word = typedWord(session, c.word);
        word.timestamp = session.clock.now() - c.age;
        session.engine().convertLastWord(word);
        EXPECT_EQ(session.status(), "No recent word to convert");
        EXPECT_EQ(field->text(), std::string(c.word) + " ");
    }
    SimulatedSession session;
    session.engine().convertLastWord(std::nullopt);
    EXPECT_EQ(session.status(), "No recent word to convert");

    // The current word is converted wherever it is typed, but a word without letters is left alone.
    auto field = session.openField("org.gnome.Terminal");
    field->insert("1234");
    session.engine().convertCurrentWord("1234", "org.gnome.Terminal");
    EXPECT_EQ(session.status(), "No recent word to convert");
    field->insert("ghbdtn");
    session.engine().convertCurrentWord("ghbdtn", "org.gnome.Terminal");
    EXPECT_EQ(field->text(), "1234привет");
}

}  // namespace
}  // namespace tarvelo
