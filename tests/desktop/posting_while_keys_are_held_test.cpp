// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_text_element.h"
#include "services/accessibility_service.h"
#include "services/text_replacement_service.h"
#include "text/characters.h"
#include "x11_desktop_test.h"

// Keys the backend posts while the user still holds keys: from inside the callback of a chord the tap
// has grabbed (the keyboard frozen for its answer, Ctrl and Alt down), or while Shift is held. They
// must reach the focused window, in order, as plain keys. The key window logs every press with the
// modifiers it came with, so a Ctrl+Alt+BackSpace or a shifted letter shows.

namespace tarvelo::desktop::testing {
namespace {

using PostingWhileKeysAreHeld = X11DesktopTest;

constexpr std::uint64_t kControlAlt = modifier_flag::kCommand | modifier_flag::kOption;

// The window's log lines after the first `before` bytes.
std::vector<std::string> linesSince(const std::string& keys, std::size_t before) {
    std::vector<std::string> lines;
    std::size_t start = std::min(before, keys.size());
    while (start < keys.size()) {
        const std::size_t end = keys.find('\n', start);
        if (end == std::string::npos) break;
        lines.push_back(keys.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// What the window logs for text typed without modifiers: a line per character, "space" for a space.
std::vector<std::string> plainLines(std::string_view text) {
    std::vector<std::string> lines;
    for (const std::string_view character : text::characters(text)) {
        lines.emplace_back(character == " " ? std::string_view("space") : character);
    }
    return lines;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// As the text replacement service posts its fall-back: a key-down and a key-up per Backspace, then the
// text.
bool postCorrection(KeyboardEvents& events, int backspaces, const std::u16string& text) {
    bool posted = true;
    for (int i = 0; i < backspaces; ++i) {
        posted = events.post({virtual_key::kDelete, true, kSyntheticEventMarker, {}}) && posted;
        posted = events.post({virtual_key::kDelete, false, kSyntheticEventMarker, {}}) && posted;
    }
    posted = events.post({0, true, kSyntheticEventMarker, text}) && posted;
    return events.post({0, false, kSyntheticEventMarker, text}) && posted;
}

std::size_t markedCount(const std::vector<KeyEventRecord>& records) {
    return static_cast<std::size_t>(std::count_if(records.begin(), records.end(), [](const KeyEventRecord& record) {
        return record.userData == kSyntheticEventMarker;
    }));
}

// The chord's key stays down until the posted text has arrived, as a person's finger does while the
// callback runs; then the chord is let go of, and the test's own Ctrl+X follows.
TEST_F(PostingWhileKeysAreHeld, KeysPostedFromAGrabbedChordsCallbackArrivePlainAfterIt) {
    struct Case {
        const char* name;
        std::vector<KeySym> modifiers;
        KeySym key;
        std::uint16_t keyCode;
        std::uint64_t flags;
        TapAnswer answer;
        std::vector<std::string> chordLines;  // what the window logs of the chord itself
    };
    const Case cases[] = {
        {"Ctrl+Alt+Space swallowed", {XK_Control_L, XK_Alt_L}, XK_space, virtual_key::kSpace, kControlAlt,
         TapAnswer::swallow, {}},
        {"Ctrl+Alt+Space passed", {XK_Control_L, XK_Alt_L}, XK_space, virtual_key::kSpace, kControlAlt, TapAnswer::pass,
         {"ctrl+alt+space"}},
        {"Ctrl+Z swallowed", {XK_Control_L}, XK_z, virtual_key::kZ, modifier_flag::kCommand, TapAnswer::swallow, {}},
    };
    const Case* current = nullptr;
    bool posted = true;
    answerFor = [&](const KeyEventRecord& record) {
        if (current == nullptr || record.userData != 0 || record.keyCode != current->keyCode ||
            record.flags != current->flags) {
            return TapAnswer::pass;
        }
        posted = postCorrection(*events_, 7, u"привет ") && posted;
        return current->answer;
    };
    tap_->setUndoChordWanted(true);
    installRecordingTap();

    std::string expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        keyboard_->type("ghbdtn ");
        ASSERT_TRUE(window_->waitForText(expected + "ghbdtn ")) << window_->text();
        expected += "привет ";
        records_.clear();
        const std::size_t logged = window_->keys().size();

        current = &c;
        for (const KeySym modifier : c.modifiers) keyboard_->press(modifier);
        keyboard_->press(c.key);
        const bool arrivedWhileHeld = window_->waitForText(expected);
        keyboard_->release(c.key);
        std::for_each(c.modifiers.rbegin(), c.modifiers.rend(), [&](KeySym modifier) { keyboard_->release(modifier); });
        ASSERT_TRUE(settle());
        current = nullptr;

        EXPECT_TRUE(arrivedWhileHeld) << window_->text();
        EXPECT_EQ(window_->text(), expected);
        // Nothing of the chord's release or of the test's own release of its modifiers arrives.
        EXPECT_EQ(linesSince(window_->keys(), logged),
                  joined({c.chordLines, std::vector<std::string>(7, "BackSpace"), plainLines("привет "), {"ctrl+x"}}));
        // Every posted press came back to the tap marked as the backend's own.
        EXPECT_TRUE(iterateUntil([&] { return markedCount(records_) == 14; })) << markedCount(records_);
    }
    EXPECT_TRUE(posted);
    EXPECT_TRUE(injected_.empty());
}

TEST_F(PostingWhileKeysAreHeld, KeysPostedWhileShiftIsHeldArriveUnshifted) {
    struct Case {
        const char* name;
        unsigned int group;
        std::vector<std::string> capitalLine;  // the poster's own Shift where the group needs it
    };
    const Case cases[] = {
        {"us group: Cyrillic on lent keys", 0, {"М"}},
        {"ru group: Cyrillic on its own keys", 1, {"shift+М"}},
    };
    std::string expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lockGroup(0);
        keyboard_->type("abc");
        ASSERT_TRUE(window_->waitForText(expected + "abc")) << window_->text();
        lockGroup(c.group);
        const std::size_t logged = window_->keys().size();

        keyboard_->press(XK_Shift_L);
        const bool posted = postCorrection(*events_, 3, u"привет Мир");
        expected += "привет Мир";
        const bool arrived = window_->waitForText(expected);
        keyboard_->release(XK_Shift_L);
        ASSERT_TRUE(settle());

        EXPECT_TRUE(posted);
        EXPECT_TRUE(arrived) << window_->text();
        EXPECT_EQ(linesSince(window_->keys(), logged),
                  joined({std::vector<std::string>(3, "BackSpace"), plainLines("привет "), c.capitalLine,
                          plainLines("ир"), {"ctrl+x"}}));
    }
}

// The whole fall-back of a correction: the text replacement service, asked from the chord's callback,
// finds an application whose text cannot be edited through accessibility and types instead. The chord
// is tapped quickly, its keys let go of while the callback runs.
TEST_F(PostingWhileKeysAreHeld, ACorrectionTypedFromTheChordsCallbackReplacesTheWord) {
    FakeDesktop desktop;
    const auto field = std::make_shared<FakeTextElement>();
    field->setRefusesSelectedText(true);
    desktop.focus("org.example.Terminal", field);
    AccessibilityService accessibility(desktop);
    TextReplacementService replacement(accessibility, *events_);

    const std::string typed = "ghbdtn rfr ndjb ltkf ";
    const std::string corrected = "привет как твои дела ";  // more than one chunk of typing
    bool replaced = false;
    answerFor = [&](const KeyEventRecord& record) {
        if (record.keyCode != virtual_key::kSpace || record.flags != kControlAlt || record.userData != 0) {
            return TapAnswer::pass;
        }
        replaced = replacement.replacePreviousText(static_cast<std::int64_t>(typed.size()), corrected);
        return TapAnswer::swallow;
    };
    installRecordingTap();
    keyboard_->type(typed);
    ASSERT_TRUE(window_->waitForText(typed)) << window_->text();
    field->setText(typed);
    const std::size_t logged = window_->keys().size();

    keyboard_->tap(XK_space, {XK_Control_L, XK_Alt_L});
    EXPECT_TRUE(window_->waitForText(corrected)) << window_->text();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(replaced);
    EXPECT_EQ(linesSince(window_->keys(), logged),
              joined({std::vector<std::string>(typed.size(), "BackSpace"), plainLines("привет как твои дела "),
                      {"ctrl+x"}}));
}

// Removing the tap frees the keyboard (the chord then reaches the window): what waited is posted then,
// before what the callback posts afterwards.
TEST_F(PostingWhileKeysAreHeld, WaitingKeysAreSentWhenTheCallbackRemovesTheTap) {
    bool posted = true;
    answerFor = [&](const KeyEventRecord& record) {
        if (record.keyCode != virtual_key::kSpace || record.flags != kControlAlt || record.userData != 0) {
            return TapAnswer::pass;
        }
        for (int i = 0; i < 3; ++i) {
            posted = events_->post({virtual_key::kDelete, true, kSyntheticEventMarker, {}}) && posted;
            posted = events_->post({virtual_key::kDelete, false, kSyntheticEventMarker, {}}) && posted;
        }
        tap_->remove();
        posted = events_->post({0, true, kSyntheticEventMarker, u"при"}) && posted;
        posted = events_->post({0, false, kSyntheticEventMarker, u"при"}) && posted;
        return TapAnswer::swallow;
    };
    installRecordingTap();
    keyboard_->type("abc");
    ASSERT_TRUE(window_->waitForText("abc")) << window_->text();
    const std::size_t logged = window_->keys().size();

    keyboard_->tap(XK_space, {XK_Control_L, XK_Alt_L});
    EXPECT_TRUE(window_->waitForText("при")) << window_->text();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(posted);
    EXPECT_EQ(linesSince(window_->keys(), logged),
              joined({{"ctrl+alt+space"}, std::vector<std::string>(3, "BackSpace"), plainLines("при"), {"ctrl+x"}}));
}

// A poster that goes away while its keys wait takes them along; the next one posts at once.
TEST_F(PostingWhileKeysAreHeld, WaitingKeysAreDroppedWithTheirPoster) {
    bool posted = true;
    answerFor = [&](const KeyEventRecord& record) {
        if (record.keyCode != virtual_key::kSpace || record.flags != kControlAlt || record.userData != 0) {
            return TapAnswer::pass;
        }
        posted = postCorrection(*events_, 3, u"при") && posted;
        events_.reset();
        return TapAnswer::swallow;
    };
    installRecordingTap();
    keyboard_->type("abc");
    ASSERT_TRUE(window_->waitForText("abc")) << window_->text();
    const std::size_t logged = window_->keys().size();

    keyboard_->tap(XK_space, {XK_Control_L, XK_Alt_L});
    ASSERT_TRUE(settle());
    EXPECT_TRUE(posted);
    EXPECT_EQ(window_->text(), "abc");
    EXPECT_EQ(linesSince(window_->keys(), logged), std::vector<std::string>{"ctrl+x"});

    events_ = std::make_unique<XTestKeyboardEvents>(display_.get(), keymap_.get(), injected_, hold_);
    ASSERT_TRUE(postCorrection(*events_, 1, u"d"));
    EXPECT_TRUE(window_->waitForText("abd")) << window_->text();
}

}  // namespace
}  // namespace tarvelo::desktop::testing
