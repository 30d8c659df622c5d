// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarvelo::desktop {

// The text of data/letter_model.txt, embedded when the program is built.
std::string_view builtInLetterModelText();

}  // namespace tarvelo::desktop
