// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/spell_checker.h"

namespace tarvelo {

// A spell checker with no dictionaries, used where the scores must rest on the built-in lists alone
// (reproducible command-line output, benchmarks of the detector's own work). Unlike the test fake it
// keeps no record of what it was asked, so it costs nothing however long it runs.
class NullSpellChecker final : public SpellChecker {
public:
    std::vector<std::string> availableLanguages() override { return {}; }
    SpellingResult check(std::string_view, std::string_view) override { return {}; }
};

}  // namespace tarvelo
