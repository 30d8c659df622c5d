// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_keyboard.h"
#include "platform/fake/fake_text_element.h"

namespace tarvelo {
namespace {

namespace ax = accessibility_error;

struct FakeDesktopTest : ::testing::Test {
    FakeDesktopTest() { desktop.focus("com.example.editor", field); }

    FakeDesktop desktop;
    FakeKeyboard keyboard{desktop};
    std::shared_ptr<FakeTextElement> field = std::make_shared<FakeTextElement>();
};

TEST_F(FakeDesktopTest, TypedKeysReachTheTapWithTheirKeyCodesAndThenTheField) {
    std::vector<std::uint16_t> keyCodes;
    ASSERT_TRUE(keyboard.install([&](const KeyEventRecord& event) {
        keyCodes.push_back(event.keyCode);
        return TapAnswer::pass;
    }));
    keyboard.type("Ghb\tё\n");
    EXPECT_EQ(keyCodes, (std::vector<std::uint16_t>{5, 4, 11, 48, 10, 36}));
    EXPECT_EQ(field->markedText(), "Ghb\tё\n|");

    keyboard.pressChord(virtual_key::kZ, modifier_flag::kCommand, "z");
    keyboard.pressChord(virtual_key::kSpace, modifier_flag::kControl, " ");
    EXPECT_EQ(field->text(), "Ghb\tё\n") << "chords type nothing";
}

TEST_F(FakeDesktopTest, ASwallowedKeyChangesNothingAndADisabledTapLetsKeysThrough) {
    int calls = 0;
    keyboard.install([&](const KeyEventRecord& event) {
        ++calls;
        return event.type == KeyEventRecord::kKeyDown ? TapAnswer::swallow : TapAnswer::pass;
    });
    EXPECT_EQ(keyboard.pressChord(virtual_key::kSpace, modifier_flag::kOption, " "), TapAnswer::swallow);
    keyboard.post(KeyboardEvent{0, true, 0, u"x"});
    EXPECT_EQ(field->text(), "");

    keyboard.disableTap();
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(keyboard.isEnabled());
    keyboard.type("a");
    EXPECT_EQ(field->text(), "a");
    keyboard.enable();
    keyboard.type("b");
    EXPECT_EQ(field->text(), "a");

    keyboard.remove();
    keyboard.type("c");
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(field->text(), "ac");
}

TEST_F(FakeDesktopTest, AFailingInstallLeavesNoTap) {
    keyboard.setInstallFails(true);
    EXPECT_FALSE(keyboard.install([](const KeyEventRecord&) { return TapAnswer::swallow; }));
    EXPECT_FALSE(keyboard.isInstalled());
    EXPECT_EQ(keyboard.installCount(), 1u);
    EXPECT_EQ(keyboard.pressDelete(), TapAnswer::pass);
}

TEST_F(FakeDesktopTest, BackspaceDeletesTheSelectionOrAWholeCharacter) {
    struct Case {
        const char* before;
        const char* after;
    };
    for (const Case& c : {Case{"xе\u0308|", "x|"}, Case{"x👨‍👩‍👧|y", "x|y"}, Case{"a\r\n|", "a|"},
                          Case{"a|bc|d", "a|d"}, Case{"|ab", "|ab"}}) {
        field->setMarkedText(c.before);
        keyboard.pressDelete();
        EXPECT_EQ(field->markedText(), c.after) << c.before;
    }
}

TEST_F(FakeDesktopTest, AttributesAnswerAsAnApplicationDoes) {
    field->setMarkedText("ab|c");
    EXPECT_EQ(field->copyAttribute("AXSubrole").error, ax::kNoValue);
    EXPECT_EQ(field->copyAttribute("AXProtectedContent").error, ax::kAttributeUnsupported);
    EXPECT_EQ(field->copyAttribute("AXValue").error, ax::kAttributeUnsupported);
    EXPECT_EQ(field->setAttribute("AXSelectedTextRange", TextRange{2, 2}), ax::kIllegalArgument);
    EXPECT_EQ(field->setAttribute("AXSelectedTextRange", std::string("1")), ax::kIllegalArgument);
    EXPECT_EQ(field->setAttribute("AXValue", std::string("x")), ax::kAttributeUnsupported);
    EXPECT_EQ(field->copyParameterizedAttribute("AXStringForRange", TextRange{1, 3}).error, ax::kIllegalArgument);
    EXPECT_EQ(field->markedText(), "ab|c");
    EXPECT_EQ(field->changeCount(), 0u);
    EXPECT_EQ(field->requestCount(), 7u);

    EXPECT_EQ(field->setAttribute("AXSelectedTextRange", TextRange{0, 3}), ax::kSuccess);
    EXPECT_EQ(field->setAttribute("AXSelectedText", std::string("xy")), ax::kSuccess);
    EXPECT_EQ(field->markedText(), "xy|");
    EXPECT_EQ(field->changeCount(), 2u);
}

TEST_F(FakeDesktopTest, FocusAndAddresses) {
    EXPECT_EQ(desktop.frontmostApplicationIdentifier(), "com.example.editor");
    desktop.setAccessibilityAnswers(false);
    EXPECT_EQ(desktop.focusedElement(), nullptr);
    desktop.focus(std::nullopt, nullptr);
    EXPECT_EQ(desktop.frontmostApplicationIdentifier(), std::nullopt);
    EXPECT_TRUE(desktop.hasFrontmostApplication());
    desktop.focusNothing();
    EXPECT_FALSE(desktop.hasFrontmostApplication());

    desktop.allowOpening("x-settings:privacy");
    desktop.allowOpening("privacy");
    EXPECT_TRUE(desktop.open("x-settings:privacy"));
    EXPECT_FALSE(desktop.open("x-settings:other"));
    EXPECT_FALSE(desktop.open("privacy")) << "not an address";
    EXPECT_EQ(desktop.openRequests().size(), 3u);
}

}  // namespace
}  // namespace tarvelo
