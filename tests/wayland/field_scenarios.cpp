// SPDX-License-Identifier: GPL-3.0-or-later
#include "field_scenarios.h"

#include <linux/input-event-codes.h>

#include <glib.h>

#include <gtest/gtest.h>

namespace tarvelo::wayland::testing::scenarios {

void selectionChordConvertsTheSelection(Keyboard& keyboard, WaylandField& field,
                                        std::initializer_list<unsigned int> chordModifiers) {
    ASSERT_TRUE(field.setMarkedText("say ghbdtn vbh|"));
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(keyboard.tap(KEY_LEFT, {KEY_LEFTSHIFT})) << keyboard.lastError();
    ASSERT_EQ(field.markedText(), "say |ghbdtn vbh|");
    ASSERT_TRUE(keyboard.tap(KEY_SPACE, chordModifiers)) << keyboard.lastError();
    EXPECT_EQ(field.textWhenItReads("say привет мир"), "say привет мир");
    EXPECT_EQ(field.markedText(), "say привет мир|");
}

void convertChordConvertsTheHalfTypedWord(Keyboard& keyboard, WaylandField& field) {
    ASSERT_TRUE(keyboard.type("vfibyf")) << keyboard.lastError();
    ASSERT_EQ(field.textWhenItReads("vfibyf"), "vfibyf");
    ASSERT_TRUE(keyboard.tap(KEY_SPACE, {KEY_LEFTCTRL, KEY_LEFTALT})) << keyboard.lastError();
    EXPECT_EQ(field.textWhenItReads("машина"), "машина");
    EXPECT_EQ(field.markedText(), "машина|");
}

void passwordFieldIsNeverChanged(Keyboard& keyboard, WaylandField& field) {
    ASSERT_TRUE(keyboard.type("ghbdtn vbh ")) << keyboard.lastError();
    EXPECT_EQ(field.textWhenItReads("ghbdtn vbh "), "ghbdtn vbh ");
    // Nothing comes later either.
    g_usleep(300 * 1000);
    EXPECT_EQ(field.text(), "ghbdtn vbh ");
}

void ctrlZAfterACorrection(Keyboard& keyboard, WaylandField& field, const std::string& keys,
                           const std::string& corrected, unsigned long pauseMicroseconds, const std::string& afterUndo) {
    ASSERT_TRUE(keyboard.type(keys)) << keyboard.lastError();
    ASSERT_EQ(field.textWhenItReads(corrected), corrected);
    g_usleep(pauseMicroseconds);
    ASSERT_TRUE(keyboard.tap(KEY_Z, {KEY_LEFTCTRL})) << keyboard.lastError();
    if (afterUndo == corrected) {
        // Given the time an undo would take, and then some.
        g_usleep(G_USEC_PER_SEC / 2);
        EXPECT_EQ(field.text(), corrected);
    } else {
        EXPECT_EQ(field.textWhenItReads(afterUndo), afterUndo);
    }
    EXPECT_EQ(field.markedText(), afterUndo + "|");
}

}  // namespace tarvelo::wayland::testing::scenarios
