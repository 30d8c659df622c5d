// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_accessibility_api.h"

#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "desktop_environment.h"
#include "services/accessibility_service.h"
#include "text_field_program.h"

namespace tarvelo::desktop {
namespace {

using testing::FieldKind;
using testing::iterateUntil;
using testing::TextFieldProgram;
using testing::Toolkit;

std::unique_ptr<TextFieldProgram> startField(Toolkit toolkit, std::string_view marked) {
    TextFieldProgram::Options options;
    options.toolkit = toolkit;
    std::string failure;
    std::unique_ptr<TextFieldProgram> program = TextFieldProgram::start(options, failure);
    EXPECT_NE(program, nullptr) << failure;
    if (program != nullptr) {
        EXPECT_TRUE(program->setMarkedText(marked));
    }
    return program;
}

// The text before the caret of whatever has focus, as the services read it.
std::optional<std::string> textBeforeCaret(AccessibilityApi& api) {
    const std::shared_ptr<AccessibilityElement> element = api.focusedElement();
    if (element == nullptr) return std::nullopt;
    const AccessibilityAnswer caret = element->copyAttribute("AXSelectedTextRange");
    const TextRange* range = caret.value ? std::get_if<TextRange>(&*caret.value) : nullptr;
    if (range == nullptr) return std::nullopt;
    const AccessibilityAnswer text =
        element->copyParameterizedAttribute("AXStringForRange", TextRange{0, range->location});
    const std::string* before = text.value ? std::get_if<std::string>(&*text.value) : nullptr;
    if (before == nullptr) return std::nullopt;
    return *before;
}

TEST(AtspiFocusTracking, FindsAFocusThatWasThereBeforeItStarted) {
    TARVELO_REQUIRE_DESKTOP();
    const std::unique_ptr<TextFieldProgram> program = startField(Toolkit::gtk, "already here|");
    ASSERT_NE(program, nullptr);
    // Let the program's own events pass before anyone listens.
    ASSERT_TRUE(program->markedText().has_value());

    AtspiAccessibilityApi api;
    EXPECT_EQ(textBeforeCaret(api), "already here");
}

TEST(AtspiFocusTracking, FollowsKeyboardFocusFromOneApplicationToTheNext) {
    TARVELO_REQUIRE_DESKTOP();
    AtspiAccessibilityApi api;
    const std::unique_ptr<TextFieldProgram> gtk = startField(Toolkit::gtk, "in gtk|");
    ASSERT_NE(gtk, nullptr);
    EXPECT_TRUE(iterateUntil([&] { return textBeforeCaret(api) == "in gtk"; })) << "the first field";

    std::unique_ptr<TextFieldProgram> qt = startField(Toolkit::qt, "in qt|");
    ASSERT_NE(qt, nullptr);
    EXPECT_TRUE(iterateUntil([&] { return textBeforeCaret(api) == "in qt"; })) << "focus moved to the second";

    // The focus goes to the root window with the program: no text field has it any more.
    qt.reset();
    EXPECT_TRUE(iterateUntil([&] { return api.focusedElement() == nullptr; })) << "the focused program ended";
    AccessibilityService service(api);
    EXPECT_TRUE(service.isSecureInputFocused()) << "no focus counts as secure";
}

TEST(AtspiFocusTracking, AnElementWhoseApplicationEndedAnswersErrors) {
    TARVELO_REQUIRE_DESKTOP();
    AtspiAccessibilityApi api;
    std::unique_ptr<TextFieldProgram> program = startField(Toolkit::gtk, "gone soon|");
    ASSERT_NE(program, nullptr);
    std::shared_ptr<AccessibilityElement> element;
    ASSERT_TRUE(iterateUntil([&] { return (element = api.focusedElement()) != nullptr; }));
    program.reset();

    EXPECT_NE(element->copyAttribute("AXSelectedTextRange").error, accessibility_error::kSuccess);
    EXPECT_NE(element->copyAttribute("AXSelectedText").error, accessibility_error::kSuccess);
    EXPECT_NE(element->copyParameterizedAttribute("AXStringForRange", TextRange{0, 4}).error,
              accessibility_error::kSuccess);
    EXPECT_NE(element->setAttribute("AXSelectedTextRange", TextRange{0, 4}), accessibility_error::kSuccess);
    EXPECT_NE(element->setAttribute("AXSelectedText", std::string("x")), accessibility_error::kSuccess);
}

}  // namespace
}  // namespace tarvelo::desktop
