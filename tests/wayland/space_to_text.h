// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "keyboard.h"
#include "wayland_field.h"

// The benchmarks' measure: the time from a word's space to the text the field then shows.
namespace tarvelo::wayland::testing {

// Opens a field with `options` and types `words` words into it as `keys` (without the space), then the
// space, each followed by a person's pause; answers the milliseconds from each space's press to the field
// reading all `shown` (with the space) so far, polled through the field's pipe. Empty, with the reason
// on standard error, when the field does not start or never shows the expected text.
std::vector<double> spaceToText(Keyboard& keyboard, const WaylandField::Options& options, const std::string& keys,
                                const std::string& shown, int words);

// The value below which `share` (0 to 1) of `values` lie.
double percentile(std::vector<double> values, double share);

}  // namespace tarvelo::wayland::testing
