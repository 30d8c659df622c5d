// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop_environment.h"
#include "key_window.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_keyboard.h"
#include "platform/fake/fake_text_element.h"
#include "platform/linux/x11/injected_keys.h"
#include "platform/linux/x11/keyboard_hold.h"
#include "platform/linux/x11/x11_display.h"
#include "platform/linux/x11/x_input_event_tap.h"
#include "platform/linux/x11/xkb_keymap.h"
#include "platform/linux/x11/xtest_keyboard_events.h"
#include "test_keyboard.h"

// What the keyboard monitor and the text replacement count on from a tap and a poster, checked on the
// pretend desktop and on the X11 backend alike, so that the fake cannot drift from the real thing.

namespace tarvelo::desktop::testing {
namespace {

// The pretend desktop: one application with a text field.
class FakeKeyboardHarness {
public:
    static constexpr bool kNeedsDisplay = false;
    FakeKeyboardHarness() { desktop_.focus("org.example.Editor", field_); }

    EventTap& tap() { return keyboard_; }
    KeyboardEvents& events() { return keyboard_; }
    void type(std::string_view letters) { keyboard_.type(letters); }
    // Whether the chord reached the application: the pretend keyboard hands on what the tap passes.
    bool pressAltSpace() { return keyboard_.pressChord(virtual_key::kSpace, modifier_flag::kOption, " ") == TapAnswer::pass; }
    bool waitForField(const std::string& expected) { return field_->text() == expected; }
    std::string field() const { return field_->text(); }
    bool waitUntil(const std::function<bool()>& done) { return done(); }

private:
    FakeDesktop desktop_;
    std::shared_ptr<FakeTextElement> field_ = std::make_shared<FakeTextElement>();
    FakeKeyboard keyboard_{desktop_};
};

// The X11 backend with the key window focused and the test's keys on the XTEST device.
class X11KeyboardHarness {
public:
    static constexpr bool kNeedsDisplay = true;
    X11KeyboardHarness()
        : user_(XOpenDisplay(nullptr), &XCloseDisplay),
          display_(X11Display::open()),
          keymap_(display_ != nullptr ? XkbKeymap::create(*display_) : nullptr),
          tap_(display_.get(), keymap_.get(), injected_, hold_),
          events_(display_.get(), keymap_.get(), injected_, hold_),
          keyboard_(user_.get()) {
        if (user_ == nullptr || keymap_ == nullptr) return;
        keyboard_.lockGroup(0);
        window_ = KeyWindow::start(user_.get());
    }
    bool ready() const { return window_ != nullptr; }

    EventTap& tap() { return tap_; }
    KeyboardEvents& events() { return events_; }
    void type(std::string_view letters) { keyboard_.type(letters); }
    // The chord, then Ctrl+X, which nothing grabs: once the window has that, it has had the chord or
    // never will.
    bool pressAltSpace() {
        const std::string before = window_->chords();
        keyboard_.tap(XK_space, {XK_Alt_L});
        keyboard_.tap(XK_x, {XK_Control_L});
        iterateUntil([&] {
            const std::string now = window_->chords();
            return now.size() >= before.size() + 7 && now.compare(now.size() - 7, 7, "ctrl+x\n") == 0;
        });
        return window_->chords().find("alt+space\n", before.size()) != std::string::npos;
    }
    bool waitForField(const std::string& expected) { return window_->waitForText(expected); }
    std::string field() const { return window_->text(); }
    bool waitUntil(const std::function<bool()>& done) { return iterateUntil(done); }

private:
    std::unique_ptr<Display, decltype(&XCloseDisplay)> user_;
    std::unique_ptr<X11Display> display_;
    std::unique_ptr<XkbKeymap> keymap_;
    InjectedKeys injected_;
    KeyboardHold hold_;
    XInputEventTap tap_;
    XTestKeyboardEvents events_;
    TestKeyboard keyboard_;
    std::unique_ptr<KeyWindow> window_;
};

template <typename Harness>
class KeyboardContract : public ::testing::Test {
protected:
    void SetUp() override {
        if constexpr (Harness::kNeedsDisplay) {
            TARVELO_REQUIRE_DESKTOP();
            harness_ = std::make_unique<Harness>();
            ASSERT_TRUE(harness_->ready());
        } else {
            harness_ = std::make_unique<Harness>();
        }
    }

    void installRecordingTap(std::function<TapAnswer(const KeyEventRecord&)> answer) {
        ASSERT_TRUE(harness_->tap().install([this, answer](const KeyEventRecord& record) {
            records_.push_back(record);
            return answer(record);
        }));
    }

    bool post(std::uint16_t keyCode, std::u16string text = {}) {
        return harness_->events().post({keyCode, true, kSyntheticEventMarker, text}) &&
               harness_->events().post({keyCode, false, kSyntheticEventMarker, text});
    }

    std::unique_ptr<Harness> harness_;
    std::vector<KeyEventRecord> records_;
};

using Harnesses = ::testing::Types<FakeKeyboardHarness, X11KeyboardHarness>;
class HarnessNames {
public:
    template <typename T>
    static std::string GetName(int) {
        return std::is_same_v<T, FakeKeyboardHarness> ? "Fake" : "X11";
    }
};
TYPED_TEST_SUITE(KeyboardContract, Harnesses, HarnessNames);

TYPED_TEST(KeyboardContract, AChordReachesTheApplicationOnlyWhenPassed) {
    TapAnswer answer = TapAnswer::swallow;
    this->installRecordingTap([&](const KeyEventRecord& record) {
        const bool altSpace = record.keyCode == virtual_key::kSpace && (record.flags & modifier_flag::kOption) != 0;
        return altSpace ? answer : TapAnswer::pass;
    });
    EXPECT_FALSE(this->harness_->pressAltSpace());
    answer = TapAnswer::pass;
    EXPECT_TRUE(this->harness_->pressAltSpace());
    answer = TapAnswer::swallow;
    EXPECT_FALSE(this->harness_->pressAltSpace());
}

// What a correction does: the chord's callback deletes and types before it answers.
TYPED_TEST(KeyboardContract, KeysPostedFromASwallowedChordsCallbackReachTheApplication) {
    this->harness_->type("ab");
    ASSERT_TRUE(this->harness_->waitForField("ab")) << this->harness_->field();
    bool posted = true;
    this->installRecordingTap([&](const KeyEventRecord& record) {
        const bool altSpace = record.keyCode == virtual_key::kSpace && (record.flags & modifier_flag::kOption) != 0 &&
                              record.userData == 0;
        if (!altSpace) return TapAnswer::pass;
        posted = this->post(virtual_key::kDelete) && this->post(0, u"вы") && posted;
        return TapAnswer::swallow;
    });
    EXPECT_FALSE(this->harness_->pressAltSpace());
    EXPECT_TRUE(posted);
    EXPECT_TRUE(this->harness_->waitForField("aвы")) << this->harness_->field();
}

TYPED_TEST(KeyboardContract, PostedTextPassesTheTapMarkedAndTheUsersKeysDoNot) {
    this->installRecordingTap([](const KeyEventRecord&) { return TapAnswer::pass; });
    this->harness_->type("ab");
    // The user's keys have reached the application before the correction starts, as they always have
    // (an Xlib program reads its keymap on its first key and would miss a map change made meanwhile).
    ASSERT_TRUE(this->harness_->waitForField("ab")) << this->harness_->field();
    ASSERT_TRUE(this->post(0, u"вы"));
    EXPECT_TRUE(this->harness_->waitForField("abвы")) << this->harness_->field();
    const auto text = [&](std::int64_t userData) {
        std::string joined;
        for (const KeyEventRecord& record : this->records_) {
            if (record.userData == userData) joined += record.characters.value_or("");
        }
        return joined;
    };
    EXPECT_TRUE(this->harness_->waitUntil([&] { return text(kSyntheticEventMarker) == "вы"; }))
        << text(kSyntheticEventMarker);
    EXPECT_EQ(text(0), "ab");
}

TYPED_TEST(KeyboardContract, PostedBackspaceDeletesOneCharacter) {
    this->harness_->type("abc");
    ASSERT_TRUE(this->harness_->waitForField("abc")) << this->harness_->field();
    ASSERT_TRUE(this->post(virtual_key::kDelete));
    EXPECT_TRUE(this->harness_->waitForField("ab")) << this->harness_->field();
    ASSERT_TRUE(this->post(virtual_key::kDelete));
    ASSERT_TRUE(this->post(virtual_key::kDelete));
    EXPECT_TRUE(this->harness_->waitForField("")) << this->harness_->field();
    // Nothing more to delete: the field stays empty and the next text lands at its start.
    ASSERT_TRUE(this->post(virtual_key::kDelete));
    ASSERT_TRUE(this->post(0, u"x"));
    EXPECT_TRUE(this->harness_->waitForField("x")) << this->harness_->field();
}

}  // namespace
}  // namespace tarvelo::desktop::testing
