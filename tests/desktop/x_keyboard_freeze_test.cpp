// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>

#include "platform/linux/x11/x_keyboard_freeze.h"
#include "x11_desktop_test.h"

// The freeze on the real X server: the user's keys wait while it lasts and then reach the focused window
// in order, and freezing hands the tap every key the window may already have.

namespace tarvelo::desktop::testing {
namespace {

using X11KeyboardFreeze = X11DesktopTest;

TEST_F(X11KeyboardFreeze, KeysPressedMeanwhileArriveAfterTheThawInOrder) {
    installRecordingTap();
    XKeyboardFreeze freeze(display_.get(), hold_);
    keyboard_->type("ab");
    ASSERT_TRUE(freeze.freeze());
    // The window may not have "ab" yet, but the tap has: freezing dispatched their raw events.
    EXPECT_EQ(records_.size(), 2u);
    EXPECT_TRUE(freeze.isHoldingKeyboard());

    keyboard_->type("cd");
    iterateFor(0.3);
    EXPECT_EQ(window_->text(), "ab") << "a key got through the freeze";
    freeze.thaw();
    EXPECT_TRUE(window_->waitForText("abcd")) << window_->text();
    EXPECT_TRUE(settle());
    EXPECT_EQ(records_.size(), 5u);  // a, b, c, d and the settling chord
    EXPECT_TRUE(freeze.isHoldingKeyboard()) << "the focus events of the grab still settle";

    // A second freeze works the same; a thaw without a freeze does nothing.
    freeze.thaw();
    ASSERT_TRUE(freeze.freeze());
    keyboard_->type("e");
    freeze.thaw();
    EXPECT_TRUE(window_->waitForText("abcde")) << window_->text();
}

TEST_F(X11KeyboardFreeze, IsRefusedWhileAnotherProgramHoldsTheKeyboard) {
    XGrabKeyboard(user_.get(), DefaultRootWindow(user_.get()), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XSync(user_.get(), False);
    XKeyboardFreeze freeze(display_.get(), hold_);
    EXPECT_FALSE(freeze.freeze());
    XUngrabKeyboard(user_.get(), CurrentTime);
    XSync(user_.get(), False);
    EXPECT_TRUE(freeze.freeze());
    freeze.thaw();
}

}  // namespace
}  // namespace tarvelo::desktop::testing
