// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarvelo::text {

// Orders two texts as the user's locale sorts words for reading, ignoring letter case: negative when
// `a` comes first, zero when they sort together, positive otherwise.
int compareLocalizedCaseInsensitive(std::string_view a, std::string_view b);

}  // namespace tarvelo::text
