// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarvelo::text {

// `text` without the white space and line breaks (White_Space scalars) at either end.
std::string_view trimmed(std::string_view text);

}  // namespace tarvelo::text
