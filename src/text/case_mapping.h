// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Case mapping scalar by scalar with the full Unicode mappings and no locale or context rules:
// "İ" lower-cases to "i̇", a lone "Σ" to "σ" wherever it stands, and no Turkish or Lithuanian rules.
namespace tarvelo::text {

std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

// The key under which word lists, exception words and letter pairs are compared: the lower-cased
// text in its canonical composed form, so that canonically equivalent spellings meet.
std::string comparisonKey(std::string_view text);

}  // namespace tarvelo::text
