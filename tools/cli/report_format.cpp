// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace tarvelo::cli {

std::string grouped(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string fixed(double value, int decimals) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
    return buffer.data();
}

// The shortest text that reads back as `value`: 0.05, not 0.050000000000000003.
std::string shortest(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// `part` of `whole` in percent, with three decimals below 1 % (where false corrections are) and two
// above; a dash when there is nothing to share.
std::string percent(std::uint64_t part, std::uint64_t whole) {
    if (whole == 0) return "–";
    const double share = 100.0 * static_cast<double>(part) / static_cast<double>(whole);
    return fixed(share, share < 1.0 ? 3 : 2) + " %";
}

// A fraction for the data file; empty when there is nothing to share.
std::string fraction(std::uint64_t part, std::uint64_t whole) {
    if (whole == 0) return "";
    return shortest(static_cast<double>(part) / static_cast<double>(whole));
}

// `text` as inline code inside a table cell: fenced by more backquotes than it holds in a row, with
// its vertical lines escaped so that they do not split the cell.
std::string codeSpan(std::string_view text) {
    std::size_t longestRun = 0;
    std::size_t run = 0;
    std::string escaped;
    for (const char c : text) {
        run = c == '`' ? run + 1 : 0;
        longestRun = std::max(longestRun, run);
        if (c == '|') escaped += '\\';
        escaped += c;
    }
    const std::string fence(longestRun + 1, '`');
    const std::string_view pad = longestRun > 0 ? " " : "";
    return fence + std::string(pad) + escaped + std::string(pad) + fence;
}

}  // namespace tarvelo::cli
