// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace tarvelo::cli {

// Types `text` into a WordBuffer, one character at a time, and calls visit(word, end) for every
// word the buffer closes, where `end` is the byte offset of the character that closed it. The end
// of the text closes the word still being typed (end == text.size()). Words longer than the buffer
// holds are dropped, as the typing engine drops them. `text` must be well-formed UTF-8, so that
// each word is the text right before `end`.
void forEachClosedWord(std::string_view text, const std::function<void(std::string_view word, std::size_t end)>& visit);

}  // namespace tarvelo::cli
