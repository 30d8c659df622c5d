// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_method/input_method_backend.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fake_text_element.h"
#include "services/accessibility_service.h"

namespace tarvelo::desktop {
namespace {

constexpr std::uint32_t kSpaceKeysym = 0x20;
constexpr std::uint32_t kSpaceEvdev = 57;

struct RecordingClient final : InputMethodClientEdits {
    void deleteBeforeCaret(std::size_t characters, std::optional<std::size_t>) override {
        calls.push_back("delete " + std::to_string(characters));
    }
    void commit(std::string_view text) override { calls.push_back("commit " + std::string(text)); }
    std::vector<std::string> calls;
};

struct Backend final : InputMethodBackend {
    bool selectKeyboardLayout(KeyboardLayout) override { return false; }
};

// The accessibility bus's view of the focused field, counting the questions put to it.
struct ShownField final : AccessibilityApi {
    std::shared_ptr<AccessibilityElement> focusedElement() override {
        ++asked;
        return element;
    }
    std::shared_ptr<FakeTextElement> element = std::make_shared<FakeTextElement>();
    int asked = 0;
};

struct InputMethodBackendTest : testing::Test {
    InputMethodBackendTest() {
        backend.setSelectionSource(&shown);
        backend.focusIn(client, InputMethodLayout::us);
    }
    RecordingClient edits;
    InputMethodClient client{edits};
    ShownField shown;
    Backend backend;
    AccessibilityService service{backend};
};

// GTK 3 tells the input method its caret alone: the selection is read from the accessibility bus and the
// converted text committed over it, which the client puts in the selection's place.
TEST_F(InputMethodBackendTest, ASelectionTheClientDoesNotTellOfIsReadWhereItShowsAndReplacedThroughTheClient) {
    client.field().setSurroundingText("say ghbdtn vbh", 14, 14);
    shown.element->setMarkedText("say |ghbdtn vbh|");
    const std::shared_ptr<AccessibilityElement> selection = service.selectionElement();
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(service.stringAttribute("AXSelectedText", *selection), "ghbdtn vbh");
    EXPECT_EQ(selection->setAttribute("AXSelectedText", AccessibilityValue(std::string("привет мир"))),
              accessibility_error::kSuccess);
    EXPECT_EQ(edits.calls, std::vector<std::string>{"commit привет мир"});
    EXPECT_EQ(shown.element->markedText(), "say |ghbdtn vbh|");
    // The field's idea of the text no longer holds: it waits for the client's.
    EXPECT_FALSE(client.field().knowsText());
}

TEST_F(InputMethodBackendTest, TheBusIsNotAskedWhereTheClientTellsTheSelectionOrWaitsForAKey) {
    shown.element->setMarkedText("say |ghbdtn vbh|");
    // The client told of its selection.
    client.field().setSurroundingText("say ghbdtn vbh", 14, 4);
    EXPECT_EQ(service.selectionElement(), client.element());

    // A password field.
    client.field().setSurroundingText("say ghbdtn vbh", 14, 14);
    client.field().setSecure(true);
    EXPECT_EQ(service.selectionElement(), client.element());
    client.field().setSecure(false);

    // While a key is handled the client may be waiting for its answer.
    client.field().setSurroundingText("say ghbdtn vbh", 14, 14);
    std::shared_ptr<AccessibilityElement> inKey;
    backend.install([&](const KeyEventRecord&) {
        inKey = service.selectionElement();
        return TapAnswer::swallow;
    });
    EXPECT_TRUE(backend.processKey(client, InputMethodLayout::us, kSpaceKeysym, kSpaceEvdev, key_state::kAlt, false));
    EXPECT_EQ(inKey, client.element());
    EXPECT_EQ(shown.asked, 0);

    // Between keys it is.
    EXPECT_NE(service.selectionElement(), client.element());
    EXPECT_EQ(shown.asked, 1);
}

}  // namespace
}  // namespace tarvelo::desktop
