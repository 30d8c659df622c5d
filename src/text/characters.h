// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// User-perceived characters: extended grapheme clusters (a CR LF pair is one character). Word lengths,
// positions and the layout tables all count these.
namespace tarvelo::text {

// The characters of `text`, in order, as views into it.
std::vector<std::string_view> characters(std::string_view text);

std::size_t characterCount(std::string_view text);

// The last character of `text`; empty for the empty text.
std::string_view lastCharacter(std::string_view text);

// `text` without its last character.
std::string_view droppingLastCharacter(std::string_view text);

}  // namespace tarvelo::text
