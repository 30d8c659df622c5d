// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/text_replacement_service.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_keyboard.h"
#include "platform/fake/fake_text_element.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

// 45 UTF-16 units: three typing events of 20, 20 and 5.
const std::string kLongText = "абвгдежзийклмнопрстуфхцчшщыэюя абвгдежзийклмн";

struct TextReplacementTest : ::testing::Test {
    TextReplacementTest() {
        field->setMarkedText("Ok ghbdtn |");
        desktop.focus("com.example.editor", field);
    }

    FakeDesktop desktop;
    FakeKeyboard keyboard{desktop};
    AccessibilityService accessibility{desktop};
    TextReplacementService service{accessibility, keyboard};
    std::shared_ptr<FakeTextElement> field = std::make_shared<FakeTextElement>();
};

TEST_F(TextReplacementTest, AnAcceptedAccessibilityEditPostsNoKeys) {
    EXPECT_TRUE(service.replacePreviousText(7, "привет "));
    EXPECT_EQ(field->markedText(), "Ok привет |");
    EXPECT_TRUE(keyboard.posted().empty());
}

TEST_F(TextReplacementTest, ARefusedEditFallsBackToMarkedBackspacesAndTyping) {
    ASSERT_EQ(text::utf16Length(kLongText), 45u);
    field->setRefusesSelectedText(true);
    std::vector<KeyEventRecord> tapped;
    keyboard.install([&](const KeyEventRecord& event) {
        tapped.push_back(event);
        return TapAnswer::pass;
    });

    EXPECT_TRUE(service.replacePreviousText(7, kLongText));

    EXPECT_EQ(field->markedText(), "Ok " + kLongText + "|");
    const std::vector<KeyboardEvent>& posted = keyboard.posted();
    ASSERT_EQ(posted.size(), 7u * 2 + 3 * 2);
    for (std::size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i].userData, kSyntheticEventMarker) << i;
        EXPECT_EQ(posted[i].keyDown, i % 2 == 0) << i;
        EXPECT_EQ(posted[i].keyCode, i < 14 ? 51 : 0) << i;
    }
    const std::u16string units = text::toUtf16(kLongText);
    EXPECT_TRUE(posted[0].unicodeString.empty());
    EXPECT_EQ(posted[14].unicodeString, units.substr(0, 20));
    EXPECT_EQ(posted[17].unicodeString, units.substr(20, 20));
    EXPECT_EQ(posted[18].unicodeString, units.substr(40));
    // The tap sees the key-downs only, each marked.
    ASSERT_EQ(tapped.size(), 10u);
    EXPECT_EQ(tapped.back().userData, kSyntheticEventMarker);
    EXPECT_EQ(tapped.back().characters, text::fromUtf16(units.substr(40)));
}

TEST_F(TextReplacementTest, AFailingPostStopsAtOnceAndKeepsWhatWasPosted) {
    struct Case {
        std::size_t failingPost;
        const char* text;
        std::size_t posted;
        std::string field;
    };
    const Case cases[] = {
        {1, "привет ", 0, "Ok ghbdtn |"},
        {4, "привет ", 3, "Ok ghbdt|"},  // the second Backspace's key-up
        {16, kLongText.c_str(), 15, "Ok " + text::fromUtf16(text::toUtf16(kLongText).substr(0, 20)) + "|"},
    };
    for (const Case& c : cases) {
        FakeKeyboard keyboard2(desktop);
        TextReplacementService service2(accessibility, keyboard2);
        field->setMarkedText("Ok ghbdtn |");
        field->setRefusesSelectedText(true);
        keyboard2.failOnPost(c.failingPost);

        EXPECT_FALSE(service2.replacePreviousText(7, c.text)) << c.failingPost;
        EXPECT_EQ(keyboard2.posted().size(), c.posted) << c.failingPost;
        EXPECT_EQ(field->markedText(), c.field) << c.failingPost;
    }
}

TEST_F(TextReplacementTest, NothingIsSentForNoCountOrASecureField) {
    EXPECT_FALSE(service.replacePreviousText(0, "x"));
    field->setSubrole("AXSecureTextField");
    EXPECT_FALSE(service.replacePreviousText(7, "привет "));
    desktop.focusNothing();
    EXPECT_FALSE(service.replacePreviousText(7, "привет "));

    EXPECT_TRUE(keyboard.posted().empty());
    EXPECT_EQ(field->markedText(), "Ok ghbdtn |");
}

TEST_F(TextReplacementTest, AnEmptyReplacementFailsAfterTheBackspaces) {
    field->setRefusesSelectedText(true);
    EXPECT_FALSE(service.replacePreviousText(7, ""));
    EXPECT_EQ(keyboard.posted().size(), 14u);
    EXPECT_EQ(field->markedText(), "Ok |");
}

TEST_F(TextReplacementTest, TypingCutsByCountAndTheFieldJoinsASplitSurrogatePair) {
    EXPECT_FALSE(service.postUnicode(""));
    const std::string text = std::string(19, 'a') + "😀b";
    EXPECT_TRUE(service.postUnicode(text));
    ASSERT_EQ(keyboard.posted().size(), 4u);
    EXPECT_EQ(keyboard.posted()[0].unicodeString.size(), 20u);
    EXPECT_EQ(keyboard.posted()[2].unicodeString.size(), 2u);
    EXPECT_EQ(field->text(), "Ok ghbdtn " + text);
}

TEST_F(TextReplacementTest, ConvertsTheSelectionInPlaceOrNotAtAll) {
    const LayoutConverter converter;
    struct Case {
        const char* name;
        const char* before;
        bool refuses;
        bool converted;
        const char* after;
    };
    const Case cases[] = {
        {"a selected word", "Ok |ghbdtn| now", false, true, "Ok привет| now"},
        {"a selected Russian word", "|руддщ|", false, true, "hello|"},
        {"nothing selected", "ghbdtn|", false, false, "ghbdtn|"},
        {"only digits", "|2024|", false, false, "|2024|"},
        {"an element that refuses the edit", "|ghbdtn|", true, false, "|ghbdtn|"},
    };
    for (const Case& c : cases) {
        field->setMarkedText(c.before);
        field->setRefusesSelectedText(c.refuses);
        EXPECT_EQ(service.convertSelection(converter), c.converted) << c.name;
        EXPECT_EQ(field->markedText(), c.after) << c.name;
    }
    EXPECT_TRUE(keyboard.posted().empty());
}

TEST_F(TextReplacementTest, ConvertingASelectionNeverWritesIntoAPasswordField) {
    const LayoutConverter converter;
    field->setMarkedText("|ghbdtn|");
    auto password = std::make_shared<FakeTextElement>("AXTextField", "AXSecureTextField");
    password->setMarkedText("|secret|");
    // The user clicks into a password field just after the selection was read.
    field->setAfterRequest([&](std::string_view name) {
        if (name == "AXSelectedText") desktop.focus("com.example.editor", password);
    });

    EXPECT_FALSE(service.convertSelection(converter));
    EXPECT_EQ(field->markedText(), "|ghbdtn|");
    EXPECT_EQ(password->markedText(), "|secret|");

    EXPECT_FALSE(service.convertSelection(converter)) << "the password field itself";
    EXPECT_EQ(password->markedText(), "|secret|");
}

}  // namespace
}  // namespace tarvelo
