// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "analysis/conversion_direction.h"
#include "analysis/language.h"

namespace tarvelo {

// One closed word of the current run, as the field holds it now.
struct RunWord {
    // The keys of the word as typed, without the keys that closed it.
    std::string typed;
    // What the field reads for the word now: `typed`, or what replaced it.
    std::string text;
    // The boundary keys typed after the word, before the next word began.
    std::string gap;
    // The direction it was converted in, when it was corrected.
    std::optional<ConversionDirection> corrected;
    // The language it reads as a word of: its correction's, or that of a dictionary word typed as it is.
    std::optional<Language> language;

    friend bool operator==(const RunWord&, const RunWord&) = default;
};

}  // namespace tarvelo
