// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Offsets of AT-SPI text in the units the applications count: code points in GTK and most toolkits,
// UTF-16 code units in Qt, while the core counts UTF-16 code units. `text` is what an application
// answered, which need not be well-formed: each ill-formed subsequence counts as one U+FFFD.
namespace tarvelo::desktop::atspi_offsets {

// The UTF-16 length of the first `codePoints` scalars of `text`; none when `text` has fewer.
std::optional<std::size_t> unitsOfFirst(std::string_view text, std::size_t codePoints);

// The number of scalars that make up the first `units` UTF-16 code units of `text`; none when `text`
// is shorter or `units` ends inside a surrogate pair.
std::optional<std::size_t> codePointsOfFirst(std::string_view text, std::size_t units);

// The number of scalars in `text`.
std::size_t codePointCount(std::string_view text);

// Whether `value` can be passed as an AT-SPI offset (a C int).
bool fitsInt(std::size_t value);

}  // namespace tarvelo::desktop::atspi_offsets
