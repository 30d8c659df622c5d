// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Canonical equivalence: strings are compared as text, so a precomposed "ё" equals "е" followed by
// U+0308 COMBINING DIAERESIS.
namespace tarvelo::text {

// The canonical composed form (NFC) of `text`, well-formed.
std::string canonicalForm(std::string_view text);

bool canonicallyEqual(std::string_view a, std::string_view b);

}  // namespace tarvelo::text
