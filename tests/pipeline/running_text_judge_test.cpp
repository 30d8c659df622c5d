// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/running_text_judge.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "pipeline/word_buffer.h"
#include "pipeline/word_run.h"
#include "platform/fake/fake_language_recognizer.h"
#include "platform/fake/fake_spell_checker.h"
#include "text/case_mapping.h"
#include "text/characters.h"

namespace tarvelo {
namespace {

constexpr double kDefaultSensitivity = 0.72;

// The judge over dictionaries of a few words, a recogniser with no opinion, and a field that the
// keys are typed into as one run.
class RunningTextJudgeTest : public ::testing::Test {
protected:
    RunningTextJudgeTest() {
        spellChecker.setAvailableLanguages({"en_US", "ru_RU"});
        for (const char* word : {"it", "key", "know", "where", "don't", "text", "tot", "here", "law", "you", "file",
                                 "make", "fps", "show", "is", "the", "world", "puts", "ls"}) {
            spellChecker.accept("en_US", word);
        }
        for (const char* word : {"дела", "пишу", "текст", "шею", "луню", "еще", "руку", "закон", "женщина", "это",
                                 "еды", "кто", "каждую", "базы", "ещё", "файл", "открой", "запусти", "использую", "работы", "помощью", "помощь", "еру", "привет", "ига", "купы", "деж"}) {
            spellChecker.accept("ru_RU", word);
        }
    }

    // Types `keys` key by key, as the engine would, and makes every correction the judge decides
    // while the field reads as expected. The end of `keys` closes the last word.
    std::string type(std::string_view keys, double sensitivity = kDefaultSensitivity) {
        std::string field;
        WordBuffer buffer(WordBuffer::Splitting::otherLayoutLetters);
        const auto close = [&](std::string_view word, std::string_view delimiter) {
            RunVerdict verdict = judge.judge(run.words(), word, delimiter, sensitivity, exceptions);
            if (verdict.decision) {
                decisions.push_back(*verdict.decision);
                EXPECT_TRUE(field.ends_with(verdict.decision->expected)) << field;
                EXPECT_NE(verdict.decision->replacement, verdict.decision->expected) << "a correction that changes nothing";
                field.resize(field.size() - verdict.decision->expected.size());
                field += verdict.decision->replacement;
            }
            run.record(std::move(verdict));
        };
        for (const std::string_view key : text::characters(keys)) {
            const bool closes = buffer.closes(key);
            const bool empty = buffer.text().empty();
            const auto closed = buffer.append(key);
            field += key;
            if (closed) {
                close(closed->word, closed->delimiter);
            } else if (closes && empty) {
                run.extendGap(key);
            }
        }
        if (!buffer.text().empty()) close(std::string(buffer.text()), "");
        return field;
    }

    void expectTyped(const std::vector<std::pair<std::string, std::string>>& cases) {
        for (const auto& [keys, expected] : cases) {
            run.clear();
            EXPECT_EQ(type(keys), expected) << "typed: " << keys;
        }
    }

    FakeSpellChecker spellChecker;
    FakeLanguageRecognizer recognizer;
    LanguageDetector detector{LayoutConverter(), spellChecker, recognizer};
    RunningTextJudge judge{detector};
    WordRun run;
    ExceptionWords exceptions;
    std::vector<RunDecision> decisions;
};

TEST_F(RunningTextJudgeTest, ConvertsPunctuationKeysWithTheWord) {
    expectTyped({
        // The Russian comma is Shift+/ on the English layout, and closes the word there.
        {"Ghbdtn? rfr", "Привет, как"},
        // The Russian full stop and the shifted digit row: / & ^ $ @.
        {"ghbdtn/", "привет."},
        {"ltkf& ", "дела? "},
        {"ltkf^ ", "дела: "},
        {"ltkf$ ", "дела; "},
        {"@ghbdtn@ ", "\"привет\" "},
        // Ж and Э typed as : and " stay inside the word.
        {":tyobyf ", "Женщина "},
        {"\"nj ", "Это "},
        // On the Russian layout the English . , ; ' are letters: "you." "you," "Law:" "I'll" "The".
        {"нщгю ", "you. "},
        {"нщгб ", "you, "},
        {"ДфцЖ ", "Law: "},
        {"вщтэе ", "don't "},
        {"ЭЕуче ", "\"Text "},
    });
}

TEST_F(RunningTextJudgeTest, WordsOfTheirOwnLanguageWithPunctuationStay) {
    expectTyped({
        {"it. ", "it. "},
        {"key. ", "key. "},
        {"шею ", "шею "},
        {"I know it. ", "I know it. "},
        {"Открой файл README и запусти make ", "Открой файл README и запусти make "},
        {"я использую git для работы ", "я использую git для работы "},
        // Code and options stay: a word glued to a word left as typed, or one starting with - or /.
        {"puts(buf); ", "puts(buf); "},
        {"ls -lt: ", "ls -lt: "},
        {"/regs ", "/regs "},
        // Digits are the same keys on both layouts: a word with them is a name or a number.
        {"ghbdtn2 ", "ghbdtn2 "},
    });
}

TEST_F(RunningTextJudgeTest, ShortWordsFollowANeighbourCorrectedTheSameWay) {
    expectTyped({
        // After the corrected word, and before it, in one span.
        {"ltkf& Z gbie ntrcn b ghjcnj/", "дела? Я пишу текст и просто."},
        {"Ш вщтэе лтщц цруку ше шыю", "I don't know where it is."},
        // Alone, or next to words typed right, a short word stays.
        {"z ", "z "},
        {"b make ", "b make "},
        {"я шт файл ", "я шт файл "},
    });
    run.clear();
    decisions.clear();
    EXPECT_EQ(type("z gbie "), "я пишу ");
    ASSERT_EQ(decisions.size(), 1u);
    EXPECT_EQ(decisions[0].precedingWords, 1u);
    EXPECT_EQ(decisions[0].correctedWords(), 2u);
    EXPECT_EQ(decisions[0].expected, "z gbie ");
    EXPECT_EQ(decisions[0].replacement, "я пишу ");
    EXPECT_EQ(decisions[0].mainWord, "gbie");
    EXPECT_EQ(decisions[0].mainReplacement, "пишу");
    EXPECT_EQ(decisions[0].direction, ConversionDirection::englishToRussian);
}

TEST_F(RunningTextJudgeTest, NumbersPunctuationAndCompoundsFollowTheRun) {
    expectTyped({
        // Numbers and punctuation typed with the other layout's keys: 4, and 2.19; the $ of the
        // Russian layout's Shift+4; the full stop after a closing bracket.
        {"лтщц 4б ", "know 4, "},
        {"лтщц 2ю19 ", "know 2.19 "},
        {"лтщц ; ", "know $ "},
        {"лтщц (ше)ю ", "know (it). "},
        // A number does not break the run: the short word after it follows the correction.
        {"лтщц 4 ше ", "know 4 it "},
        // Options, paths, words in mixed case, typed on the Russian layout.
        {"лтщц -ь ", "know -m "},
        {"лтщц ашду.еуче ", "know file/text "},
        {"лтщц (уюпюб ", "know (e.g., "},
        {"лтщц ШВы ", "know IDs "},
        // Without a correction before them they stay, and so does a compound of a word of its own
        // layout (кто-то).
        {"4б ", "4б "},
        {"-ь ", "-ь "},
        {"ашду.еуче ", "ашду.еуче "},
        {"лтщц кто-то ", "know кто-то "},
        // A key that is a letter on the other layout is a letter of the word: ,fps is базы.
        {"ltkf ,fps ", "дела базы "},
        // A word of its own layout is not pulled into the correction after it (каждую, not кажду.).
        {"каждую лтщц ", "каждую know "},
    });
    // Numbers and punctuation converted along with words are not counted as words corrected.
    run.clear();
    decisions.clear();
    EXPECT_EQ(type("z 4 gbie лтщц 4б "), "я 4 пишу know 4, ");
    ASSERT_EQ(decisions.size(), 3u);
    EXPECT_EQ(decisions[0].precedingWords, 2u);
    EXPECT_EQ(decisions[0].correctedWords(), 2u);
    EXPECT_EQ(decisions[1].correctedWords(), 1u);
    EXPECT_EQ(decisions[2].correctedWords(), 0u);
}

TEST_F(RunningTextJudgeTest, CollisionsFollowTheLanguageOfTheRun) {
    expectTyped({
        // Both forms are words: alone they stay.
        {"tot ", "tot "},
        {"руку ", "руку "},
        {"here ", "here "},
        // After a word corrected the other way, or before one, the run decides.
        {"ltkf tot ", "дела еще "},
        {"лтщц руку ", "know here "},
        {"руку лтщц ", "here know "},
        // A word typed right in the other language says nothing: the text may be mixed.
        {"текст tot ", "текст tot "},
        {"привет, the world ", "привет, the world "},
    });
}

TEST_F(RunningTextJudgeTest, AfterAWordOfItsOwnLanguageOnlyADictionaryWordIsWorthTheChange) {
    // "ntcn" wins at 0 with no dictionary word on either side (see below).
    const std::vector<std::pair<std::string, std::string>> cases{
        {"text ntcn ", "text ntcn "},
        {"text ghbdtn ", "text привет "},
        // A collision before it says nothing about the language of the run, and follows the correction.
        {"here ntcn ", "руку тест "},
        {"ltkf ntcn ", "дела тест "},
    };
    for (const auto& [keys, expected] : cases) {
        run.clear();
        EXPECT_EQ(type(keys, 0.0), expected) << "typed: " << keys;
    }
}

TEST_F(RunningTextJudgeTest, CapitalsAreJudgedByTheirLowerCaseForm) {
    expectTyped({
        {"PFRJY ", "ЗАКОН "},
        {"Ghbdtn ", "Привет "},
        // Short all-caps tokens stay, even when their conversion is a word.
        {"USB NASA ", "USB NASA "},
        {"TLS ", "TLS "},
        // Next to a word corrected the same way, an abbreviation follows it.
        {"ltkf USB ", "дела ГЫИ "},
        // A letter of neither layout stays, and makes no correction of its own.
        {"рук І ", "her І "},
    });
}

TEST_F(RunningTextJudgeTest, RespectsExceptionsAndSensitivity) {
    exceptions.insert(text::comparisonKey("ghbdtn"));
    expectTyped({{"ghbdtn rfr ", "ghbdtn как "}, {"Ghbdtn? ", "Ghbdtn? "}});
    exceptions.clear();
    // "ntcn" wins by 3.3 with no dictionary word on either side: enough at 0, not at 1.
    run.clear();
    EXPECT_EQ(type("ntcn ", 0.0), "тест ");
    run.clear();
    EXPECT_EQ(type("ntcn ", 1.0), "ntcn ");
}

TEST_F(RunningTextJudgeTest, PrefersTheWholeWordToAKeptFullStop) {
    // The key of ю is . on the English layout: помощью, not помощь.
    expectTyped({{"gjvjom. ", "помощью "}, {"gjvjom/ ", "помощь. "}});
}

TEST(WordRun, RecordsVerdictsAndKeepsTheLastFewWords) {
    WordRun run;
    run.extendGap(" ");  // nothing to extend yet
    EXPECT_TRUE(run.words().empty());
    for (const char* word : {"a", "b", "c"}) {
        run.record({std::nullopt, RunWord{word, word, " ", std::nullopt, std::nullopt}, {}});
    }
    run.extendGap(" ");
    EXPECT_EQ(run.words().back().gap, "  ");

    RunWord rewritten{"c", "С", "  ", ConversionDirection::englishToRussian, Language::russian};
    run.record({std::nullopt, RunWord{"d", "в", " ", ConversionDirection::englishToRussian, Language::russian},
                {rewritten}});
    ASSERT_EQ(run.words().size(), 4u);
    EXPECT_EQ(run.words()[2], rewritten);
    EXPECT_EQ(run.words()[3].text, "в");

    run.record({std::nullopt, RunWord{"e", "e", " ", std::nullopt, std::nullopt}, {}});
    ASSERT_EQ(run.words().size(), WordRun::kRememberedWords);
    EXPECT_EQ(run.words().front().typed, "b");
    run.clear();
    EXPECT_TRUE(run.words().empty());
}

}  // namespace
}  // namespace tarvelo
