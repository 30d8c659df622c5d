// SPDX-License-Identifier: GPL-3.0-or-later
// The accessibility services against the pretend desktop and against real GTK and Qt fields over
// AT-SPI, with the same expectations, so that the fake cannot drift from what applications do.
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/layout_converter.h"
#include "contract_field.h"
#include "desktop_environment.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_keyboard.h"
#include "services/accessibility_service.h"
#include "services/text_replacement_service.h"

namespace tarvelo::desktop::testing {
namespace {

struct Setting {
    Backend backend;
    FieldKind kind;
};

void PrintTo(const Setting& setting, std::ostream* out) {
    *out << backendName(setting.backend) << " " << fieldKindName(setting.kind);
}

std::string settingName(const ::testing::TestParamInfo<Setting>& info) {
    return std::string(backendName(info.param.backend)) + "_" + fieldKindName(info.param.kind);
}

class FieldContractTest : public ::testing::TestWithParam<Setting> {
protected:
    void SetUp() override {
        if (GetParam().backend != Backend::fake) TARVELO_REQUIRE_DESKTOP();
        std::string failure;
        field_ = ContractField::open(GetParam().backend, GetParam().kind, failure);
        ASSERT_NE(field_, nullptr) << failure;
        service_ = std::make_unique<AccessibilityService>(field_->api());
    }

    bool multiLine() const { return GetParam().kind == FieldKind::multiLine; }

    // Cases with a line break are for fields that hold several lines.
    bool applies(bool multiLineOnly) const { return !multiLineOnly || multiLine(); }

    std::unique_ptr<ContractField> field_;
    std::unique_ptr<AccessibilityService> service_;
};

using AccessibilityContract = FieldContractTest;
using SecureFieldContract = FieldContractTest;
using RefusingFieldContract = FieldContractTest;
using ReadOnlyFieldContract = FieldContractTest;

TEST_P(AccessibilityContract, ReplacesTheTextBeforeTheCaretInOneEditOrNotAtAll) {
    struct Case {
        const char* name;
        const char* before;
        std::int64_t length;
        const char* text;
        bool replaced;
        const char* after;
        bool multiLineOnly;
    };
    const Case cases[] = {
        {"a word and its delimiter", "Ok ghbdtn |", 7, "привет ", true, "Ok привет |", false},
        {"text after the caret stays", "ghbdtn |and more", 7, "привет ", true, "привет |and more", false},
        {"an emoji and Cyrillic before the word", "😀 ёж ghbdtn |", 7, "привет ", true, "😀 ёж привет |", false},
        {"emoji inside the word and after the caret", "ёж😀ntcn😀|!", 6, "тест😀", true, "ёж😀тест😀|!", false},
        {"the caret too close to the start", "hi|", 7, "привет ", false, "hi|", false},
        {"a selection instead of a caret", "Ok |ghbdtn| ", 7, "привет ", false, "Ok |ghbdtn| ", false},
        {"a word on the second line", "first line\nghbdtn |", 7, "привет ", true, "first line\nпривет |", true},
    };
    for (const Case& c : cases) {
        if (!applies(c.multiLineOnly)) continue;
        ASSERT_TRUE(field_->setMarkedText(c.before)) << c.name;
        EXPECT_EQ(service_->replaceTextBeforeCaret(c.length, c.text), c.replaced) << c.name;
        EXPECT_EQ(field_->markedText(), c.after) << c.name;
    }
}

TEST_P(AccessibilityContract, ReadsBackTheTextBeforeTheCaretOrSelection) {
    struct Case {
        const char* name;
        const char* field;
        const char* expected;
        TextCheck check;
        bool multiLineOnly;
    };
    const Case cases[] = {
        {"the replacement just written", "Ok привет |", "привет ", TextCheck::yes, false},
        {"other text", "Ok привет |", "ghbdtn ", TextCheck::no, false},
        {"an emoji counted as two code units", "ёж 😀|", "ж 😀", TextCheck::yes, false},
        {"a range that cuts an emoji in half", "a😀|", "x", TextCheck::no, false},
        {"more than the text before the caret", "ab|", "xab", TextCheck::no, false},
        {"the text before a selection", "Ok |привет| now", "Ok ", TextCheck::yes, false},
        {"across a line break", "line\nпривет |", "\nпривет ", TextCheck::yes, true},
    };
    for (const Case& c : cases) {
        if (!applies(c.multiLineOnly)) continue;
        ASSERT_TRUE(field_->setMarkedText(c.field)) << c.name;
        EXPECT_EQ(service_->textBeforeCaretEnds(c.expected), c.check) << c.name;
        EXPECT_EQ(field_->markedText(), c.field) << c.name << ": reading changes nothing";
    }
}

TEST_P(AccessibilityContract, AnswersTheAttributesTheServicesRead) {
    ASSERT_TRUE(field_->setMarkedText("😀 |ghbdtn| now"));
    EXPECT_FALSE(service_->isSecureInputFocused());
    const std::shared_ptr<AccessibilityElement> element = service_->focusedElement();
    ASSERT_NE(element, nullptr);

    EXPECT_EQ(service_->stringAttribute("AXRole", *element), multiLine() ? "AXTextArea" : "AXTextField");
    EXPECT_EQ(element->copyAttribute("AXSubrole").error, accessibility_error::kNoValue);
    EXPECT_NE(element->copyAttribute("AXProtectedContent").error, accessibility_error::kSuccess);
    EXPECT_NE(element->copyAttribute("AXTitle").error, accessibility_error::kSuccess);
    EXPECT_EQ(service_->stringAttribute("AXSelectedText", *element), "ghbdtn");

    const AccessibilityAnswer selection = element->copyAttribute("AXSelectedTextRange");
    ASSERT_EQ(selection.error, accessibility_error::kSuccess);
    EXPECT_EQ(selection.value, AccessibilityValue(TextRange{3, 6})) << "UTF-16 code units";

    const AccessibilityAnswer word = element->copyParameterizedAttribute("AXStringForRange", TextRange{0, 3});
    EXPECT_EQ(word.value, AccessibilityValue(std::string("😀 ")));
    EXPECT_EQ(element->copyParameterizedAttribute("AXStringForRange", TextRange{10, 10}).error,
              accessibility_error::kIllegalArgument);

    // The range an operation sets is the one its next request works on.
    EXPECT_EQ(element->setAttribute("AXSelectedTextRange", TextRange{0, 2}), accessibility_error::kSuccess);
    EXPECT_EQ(element->copyAttribute("AXSelectedTextRange").value, AccessibilityValue(TextRange{0, 2}));
    EXPECT_EQ(service_->stringAttribute("AXSelectedText", *element), "😀");
    EXPECT_EQ(element->setAttribute("AXSelectedTextRange", TextRange{14, 1}), accessibility_error::kIllegalArgument);
    EXPECT_EQ(element->setAttribute("AXSelectedTextRange", std::string("0 2")), accessibility_error::kIllegalArgument);
}

TEST_P(AccessibilityContract, ConvertsTheSelectionInPlace) {
    const LayoutConverter converter;
    FakeDesktop noDesktop;
    FakeKeyboard keyboard(noDesktop);
    TextReplacementService replacement(*service_, keyboard);
    struct Case {
        const char* name;
        const char* before;
        bool converted;
        const char* after;
        bool multiLineOnly;
    };
    const Case cases[] = {
        {"a selected word", "Ok |ghbdtn| now", true, "Ok привет| now", false},
        {"a selected Russian word", "|руддщ|", true, "hello|", false},
        {"between emoji", "😀 |ntcn| 😀", true, "😀 тест| 😀", false},
        {"nothing selected", "ghbdtn|", false, "ghbdtn|", false},
        {"two lines", "|ghbdtn\nvbh|", true, "привет\nмир|", true},
    };
    for (const Case& c : cases) {
        if (!applies(c.multiLineOnly)) continue;
        ASSERT_TRUE(field_->setMarkedText(c.before)) << c.name;
        EXPECT_EQ(replacement.convertSelection(converter), c.converted) << c.name;
        EXPECT_EQ(field_->markedText(), c.after) << c.name;
    }
    EXPECT_TRUE(keyboard.posted().empty()) << "a selection is never converted by typing";
}

TEST_P(SecureFieldContract, APasswordFieldIsSecureAndNeverChanged) {
    const LayoutConverter converter;
    FakeDesktop noDesktop;
    FakeKeyboard keyboard(noDesktop);
    TextReplacementService replacement(*service_, keyboard);

    ASSERT_TRUE(field_->setMarkedText("ghbdtn |"));
    EXPECT_TRUE(service_->isSecureInputFocused());
    const std::shared_ptr<AccessibilityElement> element = service_->focusedElement();
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(service_->stringAttribute("AXRole", *element), "AXTextField");
    EXPECT_EQ(service_->stringAttribute("AXSubrole", *element), "AXSecureTextField");

    EXPECT_FALSE(service_->replaceTextBeforeCaret(7, "привет "));
    EXPECT_EQ(service_->textBeforeCaretEnds("ghbdtn "), TextCheck::no);
    EXPECT_EQ(field_->markedText(), "ghbdtn |");

    ASSERT_TRUE(field_->setMarkedText("|ghbdtn|"));
    EXPECT_FALSE(replacement.convertSelection(converter));
    EXPECT_EQ(field_->markedText(), "|ghbdtn|");
    EXPECT_TRUE(keyboard.posted().empty());
}

TEST_P(RefusingFieldContract, AnEditTheFieldRefusesOrCutsShortLeavesItAsItWas) {
    // Three characters more than the word: a limited field takes only part of it.
    ASSERT_TRUE(field_->setMarkedText("Ok ghbdtn |"));
    EXPECT_FALSE(service_->isSecureInputFocused());
    EXPECT_FALSE(service_->replaceTextBeforeCaret(7, "приветик "));
    EXPECT_EQ(field_->markedText(), "Ok ghbdtn |") << "as it was, for the typed fall-back to start from";
    EXPECT_EQ(service_->textBeforeCaretEnds("ghbdtn "), TextCheck::yes);
}

TEST_P(ReadOnlyFieldContract, AReadOnlyFieldIsNeverChanged) {
    const LayoutConverter converter;
    FakeDesktop noDesktop;
    FakeKeyboard keyboard(noDesktop);
    TextReplacementService replacement(*service_, keyboard);

    ASSERT_TRUE(field_->setMarkedText("Ok ghbdtn |"));
    EXPECT_FALSE(service_->replaceTextBeforeCaret(7, "привет "));
    EXPECT_EQ(field_->markedText(), "Ok ghbdtn |");

    ASSERT_TRUE(field_->setMarkedText("Ok |ghbdtn| now"));
    EXPECT_FALSE(replacement.convertSelection(converter));
    EXPECT_EQ(field_->markedText(), "Ok |ghbdtn| now");
}

std::vector<Setting> textFieldSettings() {
    std::vector<Setting> settings;
    for (const Backend backend : {Backend::fake, Backend::gtk, Backend::qt}) {
        for (const FieldKind kind : {FieldKind::singleLine, FieldKind::multiLine}) settings.push_back({backend, kind});
    }
    return settings;
}

INSTANTIATE_TEST_SUITE_P(Fields, AccessibilityContract, ::testing::ValuesIn(textFieldSettings()), settingName);
INSTANTIATE_TEST_SUITE_P(Fields, SecureFieldContract,
                         ::testing::Values(Setting{Backend::fake, FieldKind::password},
                                           Setting{Backend::gtk, FieldKind::password},
                                           Setting{Backend::qt, FieldKind::password}),
                         settingName);
INSTANTIATE_TEST_SUITE_P(Fields, RefusingFieldContract,
                         ::testing::Values(Setting{Backend::fake, FieldKind::readOnly},
                                           Setting{Backend::gtk, FieldKind::readOnly},
                                           Setting{Backend::qt, FieldKind::readOnly},
                                           Setting{Backend::fake, FieldKind::limited},
                                           Setting{Backend::gtk, FieldKind::limited},
                                           Setting{Backend::qt, FieldKind::limited}),
                         settingName);
INSTANTIATE_TEST_SUITE_P(Fields, ReadOnlyFieldContract,
                         ::testing::Values(Setting{Backend::fake, FieldKind::readOnly},
                                           Setting{Backend::gtk, FieldKind::readOnly},
                                           Setting{Backend::qt, FieldKind::readOnly}),
                         settingName);

}  // namespace
}  // namespace tarvelo::desktop::testing
