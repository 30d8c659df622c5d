// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>

#include "keyboard.h"
#include "wayland_field.h"

// The cases every input-method desktop's tier runs alike, each in a field the tier has opened and with
// the keyboard it types through. Failures are the test's (gtest assertions).
namespace tarvelo::wayland::testing::scenarios {

// "say ghbdtn vbh", the last two words selected with Shift+Left as a person selects them, then Space
// with `chordModifiers`: "say привет мир", the caret after it.
void selectionChordConvertsTheSelection(Keyboard& keyboard, WaylandField& field,
                                        std::initializer_list<unsigned int> chordModifiers);

// "vfibyf", which no delimiter has closed, then Ctrl+Alt+Space: "машина".
void convertChordConvertsTheHalfTypedWord(Keyboard& keyboard, WaylandField& field);

// A password field keeps "ghbdtn vbh " as typed, then too.
void passwordFieldIsNeverChanged(Keyboard& keyboard, WaylandField& field);

// `keys` typed and corrected to `corrected`; then, `pauseMicroseconds` later, Ctrl+Z leaves `afterUndo`
// with the caret at its end: the typed word put back, and the field's own undo not run as well (or, where
// Tarvelo may not undo, the correction standing, the chord still Tarvelo's).
void ctrlZAfterACorrection(Keyboard& keyboard, WaylandField& field, const std::string& keys,
                           const std::string& corrected, unsigned long pauseMicroseconds, const std::string& afterUndo);

}  // namespace tarvelo::wayland::testing::scenarios
