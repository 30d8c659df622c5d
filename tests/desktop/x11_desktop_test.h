// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <vector>

#include "desktop_environment.h"
#include "key_window.h"
#include "platform/linux/x11/injected_keys.h"
#include "platform/linux/x11/keyboard_hold.h"
#include "platform/linux/x11/x11_display.h"
#include "platform/linux/x11/x_input_event_tap.h"
#include "platform/linux/x11/xkb_keymap.h"
#include "platform/linux/x11/xtest_keyboard_events.h"
#include "test_keyboard.h"

namespace tarvelo::desktop::testing {

// The real X11 keyboard backend on the session's display, a focused key window, and the user's
// keyboard on a connection of the test's own. The tap, when installed with record(), keeps every
// record and answers with answerFor. Each test ends with the first group locked again.
class X11DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Installs the tap with a callback that records each event and answers with answerFor.
    void installRecordingTap();
    // Lets the main loop run until `count` records have arrived; answers whether they did.
    bool waitForRecords(std::size_t count, double seconds = 5.0);
    // Locks `group` and waits until the backend's keymap is in it.
    void lockGroup(unsigned int group);
    // Lets the main loop run until the window and the tap (when installed) have had the test's keys so
    // far: a Ctrl+X tap, which nothing grabs, ends the wait once both have it.
    bool settle();

    std::unique_ptr<Display, decltype(&XCloseDisplay)> user_{nullptr, &XCloseDisplay};
    std::unique_ptr<X11Display> display_;
    std::unique_ptr<XkbKeymap> keymap_;
    InjectedKeys injected_;
    KeyboardHold hold_;
    std::unique_ptr<XInputEventTap> tap_;
    std::unique_ptr<XTestKeyboardEvents> events_;
    std::unique_ptr<KeyWindow> window_;
    std::unique_ptr<TestKeyboard> keyboard_;

    std::vector<KeyEventRecord> records_;
    std::function<TapAnswer(const KeyEventRecord&)> answerFor = [](const KeyEventRecord&) { return TapAnswer::pass; };
};

}  // namespace tarvelo::desktop::testing
