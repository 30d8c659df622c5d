// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "keyboard.h"
#include "wayland_field.h"

// The benchmarks' measure: the time from a word's space to the text the field then shows.
namespace tarvelo::wayland::testing {

// The milliseconds from each space's press to the field showing the word as expected, and how many
// words the field showed as typed instead (the input method let the space pass: on a loaded machine a
// call that takes too long leaves the word alone). Empty times when the field failed otherwise.
struct SpaceTimes {
    std::vector<double> milliseconds;
    int leftAsTyped = 0;
};

// Opens a field with `options` and types `words` words into it as `keys` (without the space), then, once
// the field shows the keys, the space, each followed by a person's pause, and times each space to the
// field reading all `shown` (with the space) so far, polled through the field's pipe. A word that stays
// as typed is counted and not timed. Reasons for a failure go to standard error.
SpaceTimes spaceToText(Keyboard& keyboard, const WaylandField::Options& options, const std::string& keys,
                       const std::string& shown, int words);

// The value below which `share` (0 to 1) of `values` lie.
double percentile(std::vector<double> values, double share);

}  // namespace tarvelo::wayland::testing
