// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/x11/keyboard_hold.h"

// What waits while the tap holds the keyboard for a chord: sent in order once, or dropped as a whole
// tail, never sent after something that failed before it. Seen on the X server in
// tests/desktop/posting_while_keys_are_held_test.cpp.

namespace tarvelo::desktop {
namespace {

KeyboardEvent backspace(bool down) { return {51, down, kSyntheticEventMarker, {}}; }
KeyboardEvent text(std::u16string units) { return {0, true, kSyntheticEventMarker, std::move(units)}; }

// One letter per event: "B"/"b" for a Backspace down/up, else the first unit of the text.
std::string describe(const KeyboardEvent& event) {
    if (event.unicodeString.empty()) return event.keyDown ? "B" : "b";
    return std::string(1, static_cast<char>(event.unicodeString.front()));
}

TEST(KeyboardHold, WaitingEventsAreSentInOrderAtTheReleaseAndOnlyThen) {
    KeyboardHold hold;
    std::string sent;
    hold.setSender([&](const KeyboardEvent& event) {
        sent += describe(event);
        return true;
    });
    hold.hold();
    for (const KeyboardEvent& event : {backspace(true), backspace(false), text(u"x"), text(u"y")}) hold.wait(event);
    EXPECT_TRUE(hold.isHeld());
    EXPECT_TRUE(hold.hasWaiting());
    EXPECT_EQ(sent, "");

    hold.release();
    EXPECT_EQ(sent, "Bbxy");
    EXPECT_FALSE(hold.isHeld());
    EXPECT_FALSE(hold.hasWaiting());
    // A second release has nothing left to send.
    hold.release();
    EXPECT_EQ(sent, "Bbxy");
}

TEST(KeyboardHold, EventsAfterOneThatFailsOrWithoutASenderAreDropped) {
    struct Case {
        const char* name;
        bool hasSender;
        char failsOn;  // the event the sender cannot send; 0: none
        std::string sent;
    };
    const Case cases[] = {
        {"the second Backspace fails", true, 'b', "B"},
        {"the text fails", true, 'x', "Bb"},
        {"the poster went away", false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyboardHold hold;
        std::string sent;
        hold.setSender([&](const KeyboardEvent& event) {
            if (describe(event)[0] == c.failsOn) return false;
            sent += describe(event);
            return true;
        });
        hold.hold();
        for (const KeyboardEvent& event : {backspace(true), backspace(false), text(u"x"), text(u"y")}) hold.wait(event);
        if (!c.hasSender) {
            hold.setSender(nullptr);
            EXPECT_FALSE(hold.hasWaiting());
        }
        hold.release();
        EXPECT_EQ(sent, c.sent);
        EXPECT_FALSE(hold.hasWaiting());
    }
}

}  // namespace
}  // namespace tarvelo::desktop
