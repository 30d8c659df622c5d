// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_method/input_method_text_field.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/accessibility_service.h"

namespace tarvelo::desktop {
namespace {

// The client as the engine reaches it: what it was asked to do, in order.
struct RecordingClient final : InputMethodClientEdits {
    void deleteBeforeCaret(std::size_t characters, std::optional<std::size_t> utf8Bytes) override {
        calls.push_back("delete " + std::to_string(characters));
        bytes.push_back(utf8Bytes);
    }
    void commit(std::string_view text) override { calls.push_back("commit " + std::string(text)); }
    std::vector<std::string> calls;
    std::vector<std::optional<std::size_t>> bytes;
};

// The services' view of the one field.
struct OneField final : AccessibilityApi {
    explicit OneField(std::shared_ptr<InputMethodTextField> element) : field(std::move(element)) {}
    std::shared_ptr<AccessibilityElement> focusedElement() override { return field; }
    std::shared_ptr<InputMethodTextField> field;
};

struct InputMethodTextFieldTest : testing::Test {
    RecordingClient client;
    std::shared_ptr<InputMethodTextField> field = std::make_shared<InputMethodTextField>(client);
    OneField api{field};
    AccessibilityService service{api};
};

TEST_F(InputMethodTextFieldTest, ReplacementAtAHeldDelimiterTakesTheKeyIntoOneDeletionAndOneCommit) {
    // Characters, not bytes or UTF-16 units: "😀" is one character and two units.
    field->setSurroundingText("😀 ghbdtn", 8, 8);
    field->hold(" ");
    EXPECT_EQ(field->markedText(), "😀 ghbdtn |");
    EXPECT_EQ(service.textBeforeCaretEnds("ghbdtn "), TextCheck::yes);

    EXPECT_EQ(service.replaceExpectedTextBeforeCaret("ghbdtn ", "", "привет "),
              AccessibilityService::ReplaceOutcome::replaced);
    // The held space is not at the client: only the word is deleted there.
    EXPECT_EQ(client.calls, (std::vector<std::string>{"delete 6", "commit привет "}));
    EXPECT_EQ(client.bytes, (std::vector<std::optional<std::size_t>>{6}));
    EXPECT_EQ(field->markedText(), "😀 привет |");
    EXPECT_TRUE(field->finishHeld());
    EXPECT_EQ(service.textBeforeCaretEnds("привет "), TextCheck::yes);

    // A key no edit touched stays in the field as the client will show it, and is not the engine's.
    client.calls.clear();
    field->hold("x");
    EXPECT_FALSE(field->finishHeld());
    EXPECT_EQ(field->markedText(), "😀 привет x|");
    field->noteBackspace();
    EXPECT_EQ(field->markedText(), "😀 привет |");
    EXPECT_TRUE(client.calls.empty());

    // What the client says next is the truth.
    field->setSurroundingText("abc", 1, 1);
    EXPECT_EQ(field->markedText(), "a|bc");
}

TEST_F(InputMethodTextFieldTest, TheSelectionIsReadAndReplacedByACommit) {
    field->setSurroundingText("one ghbdtn two", 10, 4);
    const auto element = service.focusedElement();
    EXPECT_EQ(service.stringAttribute("AXSelectedText", *element), "ghbdtn");
    EXPECT_EQ(element->setAttribute("AXSelectedText", std::string("привет")), accessibility_error::kSuccess);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"commit привет"}));
    EXPECT_EQ(field->markedText(), "one привет| two");
    // The caret cannot be moved from here to anywhere but just before it.
    EXPECT_NE(element->setAttribute("AXSelectedTextRange", TextRange{0, 0}), accessibility_error::kSuccess);
    EXPECT_EQ(element->setAttribute("AXSelectedTextRange", TextRange{4, 6}), accessibility_error::kSuccess);
}

// A client may count a deletion in bytes: it is told the UTF-8 length of the characters it holds.
TEST_F(InputMethodTextFieldTest, ADeletionCarriesTheLengthInBytesOfWhatTheClientHolds) {
    field->setSurroundingText("😀 руддщ", 7, 7);
    field->hold(" ");
    EXPECT_EQ(service.replaceExpectedTextBeforeCaret("руддщ ", "", "hello "),
              AccessibilityService::ReplaceOutcome::replaced);
    // Five Cyrillic letters, ten bytes; the held space is not the client's.
    EXPECT_EQ(client.calls, (std::vector<std::string>{"delete 5", "commit hello "}));
    EXPECT_EQ(client.bytes, (std::vector<std::optional<std::size_t>>{10}));
    EXPECT_TRUE(field->finishHeld());

    // The space already at the client and the emoji before the word count too.
    field->hold("x");
    EXPECT_EQ(service.replaceExpectedTextBeforeCaret("😀 hello x", "", "y"),
              AccessibilityService::ReplaceOutcome::replaced);
    EXPECT_EQ(client.bytes.back(), std::optional<std::size_t>{11});
    EXPECT_EQ(field->markedText(), "y|");
}

// A client that would misread the length of a deletion of these characters gets no edit at all.
TEST_F(InputMethodTextFieldTest, AClientThatCannotDeleteTheWordExactlyIsLeftUntouched) {
    struct AsciiOnly final : InputMethodClientEdits {
        void deleteBeforeCaret(std::size_t characters, std::optional<std::size_t>) override {
            calls.push_back("delete " + std::to_string(characters));
        }
        void commit(std::string_view text) override { calls.push_back("commit " + std::string(text)); }
        bool canDelete(std::u32string_view characters) const override {
            return std::all_of(characters.begin(), characters.end(), [](char32_t c) { return c < 0x80; });
        }
        std::vector<std::string> calls;
    } asciiOnly;
    const auto strict = std::make_shared<InputMethodTextField>(asciiOnly);
    OneField strictApi{strict};
    AccessibilityService strictService{strictApi};

    strict->setSurroundingText("руддщ", 5, 5);
    strict->hold(" ");
    EXPECT_NE(strictService.replaceExpectedTextBeforeCaret("руддщ ", "", "hello "),
              AccessibilityService::ReplaceOutcome::replaced);
    EXPECT_TRUE(asciiOnly.calls.empty());
    // Typing it instead is refused too, until the next key.
    EXPECT_TRUE(strict->refusesEdits());
    EXPECT_FALSE(strict->finishHeld());
    EXPECT_EQ(strict->markedText(), "руддщ |");

    // Only the client's part counts: the held key is the engine's own.
    strict->setSurroundingText("ghbdtn", 6, 6);
    strict->hold(" ");
    EXPECT_FALSE(strict->refusesEdits());
    EXPECT_EQ(strictService.replaceExpectedTextBeforeCaret("ghbdtn ", "", "привет "),
              AccessibilityService::ReplaceOutcome::replaced);
    EXPECT_EQ(asciiOnly.calls, (std::vector<std::string>{"delete 6", "commit привет "}));
}

TEST_F(InputMethodTextFieldTest, WithoutSurroundingTextOnlyBlindEditsWorkAndTheyReachIntoTheHeldKeyFirst) {
    field->hold(" ");
    EXPECT_EQ(service.textBeforeCaretEnds("ghbdtn "), TextCheck::unknown);
    // Seven Backspaces and the replacement typed: the held space is one of the seven.
    for (int i = 0; i < 7; ++i) field->deleteBefore(1);
    field->insert("привет ");
    EXPECT_EQ(client.calls, (std::vector<std::string>{"delete 1", "delete 1", "delete 1", "delete 1", "delete 1",
                                                      "delete 1", "commit привет "}));
    // Nothing is known of what went, so no length in bytes either.
    EXPECT_EQ(client.bytes, std::vector<std::optional<std::size_t>>(6));
    EXPECT_TRUE(field->finishHeld());
}

TEST_F(InputMethodTextFieldTest, APasswordFieldKeepsNothingAndReadsAsSecure) {
    field->setSurroundingText("secret", 6, 6);
    field->setSecure(true);
    field->setSurroundingText("secret2", 7, 7);
    EXPECT_FALSE(field->knowsText());
    EXPECT_EQ(field->markedText(), "|");
    EXPECT_TRUE(service.isSecureInputFocused());
    EXPECT_EQ(service.textBeforeCaretEnds("secret2"), TextCheck::no);
    field->setSecure(false);
    EXPECT_FALSE(service.isSecureInputFocused());
}

}  // namespace
}  // namespace tarvelo::desktop
