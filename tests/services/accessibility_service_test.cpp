// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/accessibility_service.h"

#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_text_element.h"

namespace tarvelo {
namespace {

struct AccessibilityServiceTest : ::testing::Test {
    std::shared_ptr<FakeTextElement> focus(std::string_view marked, std::string role = "AXTextArea",
                                           std::optional<std::string> subrole = std::nullopt) {
        auto field = std::make_shared<FakeTextElement>(std::move(role), std::move(subrole));
        field->setMarkedText(marked);
        desktop.focus("com.example.editor", field);
        return field;
    }

    FakeDesktop desktop;
    AccessibilityService service{desktop};
};

TEST_F(AccessibilityServiceTest, SecureFocusIsDecidedByRoleSubroleAndProtectedContent) {
    struct Case {
        const char* name;
        std::string role;
        std::optional<std::string> subrole;
        std::optional<AccessibilityValue> protectedContent;
        bool secure;
    };
    const Case cases[] = {
        {"secure subrole on a text field", "AXTextField", "AXSecureTextField", std::nullopt, true},
        {"secure subrole on any role", "AXGroup", "AXSecureTextField", std::nullopt, true},
        {"a toolkit's own secure subrole", "AXTextField", "CustomSecure", std::nullopt, true},
        {"a secure-sounding subrole on a text area", "AXTextArea", "CustomSecure", std::nullopt, false},
        {"a plain text field", "AXTextField", std::nullopt, std::nullopt, false},
        {"a search field", "AXTextField", "AXSearchField", std::nullopt, false},
        {"protected content", "AXTextArea", std::nullopt, AccessibilityValue(true), true},
        {"content said not to be protected", "AXTextArea", std::nullopt, AccessibilityValue(false), false},
        {"protected content that is not a Boolean", "AXTextArea", std::nullopt,
         AccessibilityValue(std::string("true")), false},
    };
    for (const Case& c : cases) {
        auto field = focus("secret|", c.role, c.subrole);
        field->setProtectedContent(c.protectedContent);
        EXPECT_EQ(service.isSecureInputFocused(), c.secure) << c.name;
    }

    desktop.setAccessibilityAnswers(false);
    EXPECT_TRUE(service.isSecureInputFocused()) << "a desktop that does not answer";
    desktop.setAccessibilityAnswers(true);
    desktop.focusNothing();
    EXPECT_TRUE(service.isSecureInputFocused()) << "nothing focused";
}

TEST_F(AccessibilityServiceTest, StringAttributeAnswersOnlyStrings) {
    auto field = focus("ab|cd|");
    EXPECT_EQ(service.stringAttribute("AXSelectedText", *field), "cd");
    EXPECT_EQ(service.stringAttribute("AXSelectedTextRange", *field), std::nullopt);
    EXPECT_EQ(service.stringAttribute("AXSubrole", *field), std::nullopt);
    EXPECT_EQ(service.stringAttribute("AXTitle", *field), std::nullopt);
}

TEST_F(AccessibilityServiceTest, ReplacesTextBeforeTheCaretInOneEditOrLeavesTheFieldAsItWas) {
    struct Case {
        const char* name;
        const char* before;
        std::int64_t length;
        const char* text;
        bool refuses;
        bool replaced;
        const char* after;
    };
    const Case cases[] = {
        {"a word and its delimiter", "Ok ghbdtn |", 7, "привет ", false, true, "Ok привет |"},
        {"the caret inside the text", "ab|cd", 1, "X", false, true, "aX|cd"},
        {"lengths count UTF-16 units", "a😀|", 2, "b", false, true, "ab|"},
        {"too little text before the caret", "abc|", 5, "xxxxx", false, false, "abc|"},
        {"a selection", "a|bc|", 1, "x", false, false, "a|bc|"},
        {"nothing to replace", "abc|", 0, "x", false, false, "abc|"},
        {"an element that refuses the edit", "Ok ghbdtn |", 7, "привет ", true, false, "Ok ghbdtn |"},
    };
    for (const Case& c : cases) {
        auto field = focus(c.before);
        field->setRefusesSelectedText(c.refuses);
        EXPECT_EQ(service.replaceTextBeforeCaret(c.length, c.text), c.replaced) << c.name;
        EXPECT_EQ(field->markedText(), c.after) << c.name;
    }

    auto password = focus("ghbdtn |", "AXTextField", "AXSecureTextField");
    EXPECT_FALSE(service.replaceTextBeforeCaret(7, "привет "));
    EXPECT_EQ(password->changeCount(), 0u);
}

TEST_F(AccessibilityServiceTest, ReplacesKnownTextOnlyWhileItIsStillBeforeTheCaret) {
    using Outcome = AccessibilityService::ReplaceOutcome;
    struct Case {
        const char* name;
        const char* before;
        bool refuses;
        Outcome outcome;
        const char* after;
    };
    const Case cases[] = {
        {"still there", "Ok ghbdtn |", false, Outcome::replaced, "Ok привет |"},
        {"a key typed since", "Ok ghbdtn x|", false, Outcome::textDiffers, "Ok ghbdtn x|"},
        {"deleted since", "Ok ghbdtn|", false, Outcome::textDiffers, "Ok ghbdtn|"},
        {"selected since", "Ok |ghbdtn |", false, Outcome::textDiffers, "Ok |ghbdtn |"},
        {"an element that refuses the edit", "Ok ghbdtn |", true, Outcome::cannotEdit, "Ok ghbdtn |"},
    };
    for (const Case& c : cases) {
        auto field = focus(c.before);
        field->setRefusesSelectedText(c.refuses);
        EXPECT_EQ(service.replaceExpectedTextBeforeCaret("ghbdtn ", "", "привет "), c.outcome) << c.name;
        EXPECT_EQ(field->markedText(), c.after) << c.name;
    }

    // Only the characters that change are written; the field's own form of the rest stays.
    struct FormCase {
        const char* name;
        const char* before;
        const char* expected;
        const char* after;
        const char* text;
        Outcome outcome;
        const char* result;
    };
    const FormCase forms[] = {
        {"a web editor's space", "Ok ghbdtn\u00a0|", "ghbdtn ", "", "привет ", Outcome::replaced, "Ok привет\u00a0|"},
        {"and the keys typed since", "Ok ghbdtn\u00a0d|", "ghbdtn ", "d", "привет ", Outcome::replaced,
         "Ok привет\u00a0d|"},
        {"the words kept in front", "ok\u00a0ghbdtn\u00a0|", "ok ghbdtn ", "", "ok привет ", Outcome::replaced,
         "ok\u00a0привет\u00a0|"},
        {"a span that changes its delimiter", "vs;|", "vs;", "", "мыж", Outcome::replaced, "мыж|"},
        {"a word converted into a shorter one", "Ok abc |", "abc ", "", "ab ", Outcome::replaced, "Ok ab |"},
        {"a no-break space where none was typed", "Ok ghbdtn\u00a0|", "ghbdtn.", "", "привет.", Outcome::textDiffers,
         "Ok ghbdtn\u00a0|"},
        {"a changed word before a shared end", "Ok ghbdtx\u00a0|", "ghbdtn ", "", "привет ", Outcome::textDiffers,
         "Ok ghbdtx\u00a0|"},
        {"a changed word in front", "ox ghbdtn |", "ok ghbdtn ", "", "ok привет ", Outcome::textDiffers,
         "ox ghbdtn |"},
    };
    for (const FormCase& c : forms) {
        auto field = focus(c.before);
        EXPECT_EQ(service.replaceExpectedTextBeforeCaret(c.expected, c.after, c.text), c.outcome) << c.name;
        EXPECT_EQ(field->markedText(), c.result) << c.name;
    }

    // An element that cannot show its text was judged by the caller.
    auto blind = focus("Ok ghbdtn |");
    blind->setLacksStringForRange(true);
    EXPECT_EQ(service.replaceExpectedTextBeforeCaret("ghbdtn ", "", "привет "), Outcome::replaced);
    EXPECT_EQ(blind->markedText(), "Ok привет |");
}

TEST_F(AccessibilityServiceTest, ReadsBackTheTextBeforeTheCaret) {
    struct Case {
        const char* name;
        const char* field;
        const char* expected;
        bool lacksStringForRange;
        TextCheck answer;
    };
    const Case cases[] = {
        {"the corrected word", "Ok привет |", "привет ", false, TextCheck::yes},
        {"another word", "Ok привет |", "ghbdtn ", false, TextCheck::no},
        {"the selection's length is ignored", "Ok привет |wor|ld", "привет ", false, TextCheck::yes},
        {"less text than expected", "ab|", "xab", false, TextCheck::no},
        {"an element without the range query", "Ok привет |", "привет ", true, TextCheck::unknown},
        {"marks in another canonical order", "xa\u0307\u0323|", "a\u0323\u0307", false, TextCheck::yes},
        {"a singleton decomposition", "\u212B|", "\u00C5", false, TextCheck::yes},
        // The expected text's own length picks the range: a precomposed field is one unit shorter.
        {"decomposed against precomposed", "xё|", "е\u0308", false, TextCheck::no},
        // A web editor keeps a space typed at the end of a line as a no-break space.
        {"a typed space shown as a no-break space", "Ok привет\u00a0|", "привет ", false, TextCheck::yes},
        {"no-break spaces inside the text", "a\u00a0b\u00a0|", "a b ", false, TextCheck::yes},
        {"a typed no-break space shown as one", "Ok привет\u00a0|", "привет\u00a0", false, TextCheck::yes},
        {"a typed no-break space shown as a space", "Ok привет |", "привет\u00a0", false, TextCheck::no},
        {"a no-break space where no space was typed", "Ok привет\u00a0|", "привет.", false, TextCheck::no},
        {"another kind of space", "Ok привет\u2002|", "привет ", false, TextCheck::no},
    };
    for (const Case& c : cases) {
        auto field = focus(c.field);
        field->setLacksStringForRange(c.lacksStringForRange);
        EXPECT_EQ(service.textBeforeCaretEnds(c.expected), c.answer) << c.name;
    }

    focus("привет |", "AXTextField", "AXSecureTextField");
    EXPECT_EQ(service.textBeforeCaretEnds("привет "), TextCheck::no) << "a password field";
    desktop.focusNothing();
    EXPECT_EQ(service.textBeforeCaretEnds("привет "), TextCheck::no) << "nothing focused";
}

}  // namespace
}  // namespace tarvelo
