// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11_desktop_test.h"

#include <X11/keysym.h>

#include <algorithm>
#include <string>

namespace tarvelo::desktop::testing {

void X11DesktopTest::SetUp() {
    TARVELO_REQUIRE_DESKTOP();
    user_.reset(XOpenDisplay(nullptr));
    ASSERT_NE(user_, nullptr);
    display_ = X11Display::open();
    ASSERT_NE(display_, nullptr);
    keymap_ = XkbKeymap::create(*display_);
    ASSERT_NE(keymap_, nullptr);
    tap_ = std::make_unique<XInputEventTap>(display_.get(), keymap_.get(), injected_, hold_);
    events_ = std::make_unique<XTestKeyboardEvents>(display_.get(), keymap_.get(), injected_, hold_);
    keyboard_ = std::make_unique<TestKeyboard>(user_.get());
    lockGroup(0);
    window_ = KeyWindow::start(user_.get());
    ASSERT_NE(window_, nullptr) << "the key window did not appear with the focus";
}

void X11DesktopTest::TearDown() {
    if (keyboard_ != nullptr) keyboard_->lockGroup(0);
    // The backend goes first, so that lent key codes are given back before the window goes.
    events_.reset();
    tap_.reset();
    window_.reset();
}

void X11DesktopTest::installRecordingTap() {
    ASSERT_TRUE(tap_->install([this](const KeyEventRecord& record) {
        records_.push_back(record);
        return answerFor(record);
    }));
}

bool X11DesktopTest::waitForRecords(std::size_t count, double seconds) {
    return iterateUntil([&] { return records_.size() >= count; }, seconds);
}

void X11DesktopTest::lockGroup(unsigned int group) {
    keyboard_->lockGroup(group);
    ASSERT_TRUE(iterateUntil([&] { return keymap_->group() == group; }));
}

bool X11DesktopTest::settle() {
    const std::size_t before = window_->chords().size();
    const std::size_t recordsBefore = records_.size();
    const auto xKey = static_cast<std::uint16_t>(XInputEventTap::kOtherKeyBase + keyboard_->keycode(XK_x));
    keyboard_->tap(XK_x, {XK_Control_L});
    return iterateUntil([&] {
        const std::string chords = window_->chords();
        const bool windowHasIt = chords.size() > before && chords.compare(chords.size() - 7, 7, "ctrl+x\n") == 0;
        const bool tapHasIt = !tap_->isInstalled() ||
                              std::any_of(records_.begin() + static_cast<std::ptrdiff_t>(recordsBefore), records_.end(),
                                          [&](const KeyEventRecord& record) { return record.keyCode == xKey; });
        return windowHasIt && tapHasIt;
    });
}

}  // namespace tarvelo::desktop::testing
