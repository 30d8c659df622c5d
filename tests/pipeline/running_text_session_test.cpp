// SPDX-License-Identifier: GPL-3.0-or-later
// Whole sentences typed on the wrong layout, key by key at a person's pace, through the tap into a
// field of the pretend desktop: the corrections land behind the keys that keep coming.

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fake_spell_checker.h"
#include "platform/fake/simulated_session.h"
#include "text/characters.h"

namespace tarvelo {
namespace {

constexpr std::uint16_t kLeftArrow = 123;

// Spelling dictionaries with the words of the sentences below, shared by the tests: nothing changes
// them once they are made.
FakeSpellChecker& sentenceDictionaries() {
    static FakeSpellChecker* const checker = [] {
        auto* made = new FakeSpellChecker;
        made->setAvailableLanguages({"en_US", "ru_RU"});
        for (const char* word : {"don't", "know", "where", "hello", "world"}) made->accept("en_US", word);
        for (const char* word : {"привет", "как", "дела", "пишу", "текст", "просто"}) made->accept("ru_RU", word);
        return made;
    }();
    return *checker;
}

// Types `keys` one at a time, `meanInterval` seconds apart on average, each interval off by up to
// `jitter` either way: the engine's edits and read-backs fall between keys at every point.
void typeAtPace(SimulatedSession& session, std::string_view keys, std::mt19937& random, double meanInterval = 0.12,
                double jitter = 0.07) {
    std::uniform_real_distribution<double> interval(meanInterval - jitter, meanInterval + jitter);
    for (const std::string_view key : text::characters(keys)) {
        session.keyboard.type(key);
        session.wait(interval(random));
    }
}

// Types `keys` at the usual pace and lets the corrections and their read-backs finish.
void typeAndSettle(SimulatedSession& session, std::string_view keys, std::mt19937& random) {
    typeAtPace(session, keys, random);
    session.wait(0.5);
}

TEST(RunningTextSession, SentencesTypedOnTheWrongLayoutComeOutAsMeant) {
    struct Case {
        const char* keys;
        const char* meant;
        int englishToRussian;
        int russianToEnglish;
    };
    const Case cases[] = {
        {"Ghbdtn? rfr ltkf& Z gbie ntrcn b ghjcnj/ ", "Привет, как дела? Я пишу текст и просто. ", 8, 0},
        {"Ш вщтэе лтщц цруку ше шыю ", "I don't know where it is. ", 0, 6},
        // Typed right, the text stays as it is, whatever the pace.
        {"Привет, как дела? I don't know. ", "Привет, как дела? I don't know. ", 0, 0},
    };
    const struct {
        double interval;
        double jitter;
    } paces[] = {{0.16, 0.08}, {0.12, 0.07}, {0.07, 0.04}};
    for (const Case& c : cases) {
        for (const auto& pace : paces) {
            for (std::uint32_t seed = 1; seed <= 8; ++seed) {
                SCOPED_TRACE(std::string(c.keys) + " every " + std::to_string(pace.interval) + " s, seed " +
                             std::to_string(seed));
                SimulatedSession session({&sentenceDictionaries(), nullptr});
                auto field = session.openField();
                std::mt19937 random(seed);
                typeAtPace(session, c.keys, random, pace.interval, pace.jitter);
                session.wait(1.0);
                EXPECT_EQ(field->markedText(), std::string(c.meant) + "|");
                // Each word counts once, however many edits brought it.
                EXPECT_EQ(session.statistics.today().englishToRussian, c.englishToRussian);
                EXPECT_EQ(session.statistics.today().russianToEnglish, c.russianToEnglish);
                EXPECT_FALSE(session.keyboard.isFrozen());
            }
        }
    }
}

TEST(RunningTextSession, UndoTakesBackTheWholeSpanAndLearnsItsWord) {
    SimulatedSession session({&sentenceDictionaries(), nullptr});
    auto field = session.openField();
    std::mt19937 random(7);
    // The short word before it reads as Russian only next to the corrected word: one edit takes both.
    typeAndSettle(session, "b ghbdtn ", random);
    ASSERT_EQ(field->text(), "и привет ");
    EXPECT_EQ(session.statistics.today().englishToRussian, 2);

    EXPECT_EQ(session.keyboard.pressChord(virtual_key::kZ, modifier_flag::kCommand, "z"), TapAnswer::swallow);
    session.wait(0.5);
    EXPECT_EQ(field->text(), "b ghbdtn ");
    EXPECT_EQ(session.status(), "Correction undone");
    EXPECT_EQ(session.exceptions.words().get(), std::vector<std::string>{"ghbdtn"});
    EXPECT_EQ(session.statistics.today().undoCount, 1);

    // The word stays as typed from now on, in a sentence as well.
    typeAndSettle(session, "rfr ghbdtn ", random);
    EXPECT_EQ(field->text(), "b ghbdtn как ghbdtn ");
}

TEST(RunningTextSession, TheRunEndsWhereTheFieldMayNoLongerHoldIt) {
    struct Case {
        const char* name;
        std::function<void(SimulatedSession&)> between;
        const char* expected;
    };
    const Case cases[] = {
        {"nothing between", [](SimulatedSession&) {}, "дела Я "},
        // A key with no text (an arrow) may have moved the caret anywhere.
        {"an arrow key", [](SimulatedSession& s) { s.keyboard.pressChord(kLeftArrow, 0); }, "дела Z "},
        {"a shortcut", [](SimulatedSession& s) { s.keyboard.pressChord(virtual_key::kZ, modifier_flag::kControl, "z"); },
         "дела Z "},
        {"a long pause", [](SimulatedSession& s) { s.wait(AutoSwitchEngine::kRunPause); }, "дела Z "},
        {"a word in another application",
         [](SimulatedSession& s) {
             s.openField("org.example.Chat");
             s.keyboard.type("ok ");
             s.wait(0.5);
         },
         "дела Z "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedSession session({&sentenceDictionaries(), nullptr});
        auto field = session.openField();
        std::mt19937 random(3);
        typeAtPace(session, "ltkf ", random);
        session.wait(8.5);  // past the undo window, so that Ctrl+Z reaches the application
        c.between(session);
        session.focus(SimulatedSession::kEditor, field);
        typeAndSettle(session, "Z ", random);
        EXPECT_EQ(field->text(), c.expected);
    }
}

TEST(RunningTextSession, AWordJudgedByItsNeighboursIsLeftWhenTheFieldNoLongerShowsThem) {
    // The user clicked and typed a word elsewhere; the run cannot see it, but the edit reads the
    // words before the span and finds them changed.
    SimulatedSession session({&sentenceDictionaries(), nullptr});
    auto field = session.openField();
    std::mt19937 random(5);
    typeAndSettle(session, "ltkf ", random);
    ASSERT_EQ(field->text(), "дела ");
    field->setText("вот ");
    typeAtPace(session, "Z ", random);
    session.wait(1.0);
    EXPECT_EQ(field->text(), "вот Z ");
    EXPECT_EQ(session.status(), "Correction could not be sent");
    EXPECT_EQ(session.statistics.today().englishToRussian, 1);

    // The refused edit ended the run: the next short word is judged on its own.
    typeAndSettle(session, "b ", random);
    EXPECT_EQ(field->text(), "вот Z b ");

    // A word that is corrected alone too is corrected alone: the short word b that the run would
    // have taken with it is no longer before it.
    field->setText("вот ");
    typeAndSettle(session, "gbie ", random);
    EXPECT_EQ(field->text(), "вот пишу ");
    EXPECT_EQ(session.statistics.today().englishToRussian, 2);
    // What the run held no longer tells what stands before the caret: a new run starts.
    typeAndSettle(session, "b ", random);
    EXPECT_EQ(field->text(), "вот пишу b ");
}

TEST(RunningTextSession, AFieldThatCannotBeReadGetsOnlyTheLastWordCorrected) {
    // Backspaces into such a field are counted blind: the words before the last one may have moved
    // away under an unseen click, so a span or a word judged by its neighbours is left.
    SimulatedSession session({&sentenceDictionaries(), nullptr});
    auto field = session.openField();
    field->setRefusesSelectedText(true);
    field->setLacksStringForRange(true);
    std::mt19937 random(9);
    // The short word reads as Russian only with the word after it: the span is not made.
    typeAndSettle(session, "b ghbdtn ", random);
    EXPECT_EQ(field->text(), "b ghbdtn ");
    EXPECT_EQ(session.status(), "Correction could not be sent");

    // A word on its own is corrected; the short word after it, judged by it, is not.
    typeAndSettle(session, "ghbdtn b ", random);
    EXPECT_EQ(field->text(), "b ghbdtn привет b ");
    EXPECT_EQ(session.statistics.today().englishToRussian, 0);  // nothing could be read back
}

}  // namespace
}  // namespace tarvelo
