// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelo::cli {

// Text of the accuracy reports.

// 1234567 as 1,234,567.
std::string grouped(std::uint64_t value);

// `value` with `decimals` decimals.
std::string fixed(double value, int decimals);

// The shortest text that reads back as `value`: 0.05, not 0.050000000000000003.
std::string shortest(double value);

// `part` of `whole` in percent, with three decimals below 1 % (where false corrections are) and two
// above; a dash when there is nothing to share.
std::string percent(std::uint64_t part, std::uint64_t whole);

// A fraction for the data file; empty when there is nothing to share.
std::string fraction(std::uint64_t part, std::uint64_t whole);

// `text` as inline code inside a table cell: fenced by more backquotes than it holds in a row, with
// its vertical lines escaped so that they do not split the cell.
std::string codeSpan(std::string_view text);

}  // namespace tarvelo::cli
