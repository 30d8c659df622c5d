// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "text/utf8.h"
#include "x11_desktop_test.h"

// Typing through XTest into a window that has no accessible text, as the replacement's fall-back does.

namespace tarvelo::desktop::testing {
namespace {

using XTestTyping = X11DesktopTest;

// As the text replacement service posts text: a key-down and a key-up carrying the same units.
void postText(KeyboardEvents& events, const std::u16string& units) {
    ASSERT_TRUE(events.post({0, true, kSyntheticEventMarker, units}));
    ASSERT_TRUE(events.post({0, false, kSyntheticEventMarker, units}));
}

void postBackspaces(KeyboardEvents& events, int count) {
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(events.post({virtual_key::kDelete, true, kSyntheticEventMarker, {}}));
        ASSERT_TRUE(events.post({virtual_key::kDelete, false, kSyntheticEventMarker, {}}));
    }
}

// Every character arrives once and in order, though the us group has none of them: each word is typed
// on lent key codes, and the Backspaces of a correction delete exactly their count.
TEST_F(XTestTyping, TypesWordsTheGroupLacksAndDeletesExactly) {
    std::string expected;
    for (int word = 0; word < 20; ++word) {
        postText(*events_, u"привет ");
        expected += "привет ";
    }
    EXPECT_TRUE(window_->waitForText(expected)) << window_->text();
    // A correction: remove "привет " and type "ghbdtn " (the us group has these letters).
    postBackspaces(*events_, 7);
    postText(*events_, u"ghbdtn ");
    expected = expected.substr(0, expected.size() - std::string("привет ").size()) + "ghbdtn ";
    EXPECT_TRUE(window_->waitForText(expected)) << window_->text();
    EXPECT_EQ(keymap_->group(), 0u);
}

TEST_F(XTestTyping, TypesShiftedForeignAndAstralCharacters) {
    struct Case {
        const char* name;
        unsigned int group;
        std::u16string text;
    };
    const Case cases[] = {
        {"shifted in the us group", 0, u"Hello, World!"},
        {"shifted in the ru group", 1, u"Привет, Мир!"},
        {"latin in the ru group", 1, u"Hi"},
        {"outside both groups", 0, u"é ü ß €"},
        {"an emoji", 0, u"ok 😀"},
        {"repeated lent characters", 1, u"ééé"},
    };
    std::string expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lockGroup(c.group);
        postText(*events_, c.text);
        expected += text::fromUtf16(c.text);
        EXPECT_TRUE(window_->waitForText(expected)) << window_->text();
        EXPECT_EQ(keymap_->group(), c.group);
    }
    // A surrogate pair cut between two events, as text is cut by count of code units.
    const std::u16string emoji = u"😀";
    postText(*events_, emoji.substr(0, 1));
    postText(*events_, emoji.substr(1));
    EXPECT_TRUE(window_->waitForText(expected + "😀")) << window_->text();
}

}  // namespace
}  // namespace tarvelo::desktop::testing
