// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/conversion_direction.h"
#include "signals.h"

namespace tarvelo::cli {

// What a command accepts after its name.
struct ArgumentSyntax {
    // Long options that take one value, without their leading "--" ("to", "sensitivity").
    std::vector<std::string_view> valueOptions;
    // Whether arguments that are not options (the tokens of detect) are allowed.
    bool acceptsOperands = false;
};

// A command line taken apart.
struct Arguments {
    bool help = false;
    std::map<std::string, std::string, std::less<>> options;
    std::vector<std::string> operands;

    std::optional<std::string_view> option(std::string_view name) const;
};

// Reads the arguments after the command name. Options take their value as "--name value" or
// "--name=value"; "-h" or "--help" anywhere before "--" asks for help and wins over everything else;
// after "--" every argument is an operand. Throws CommandError (usage) for an unknown option, a
// missing value, an option given twice, or an operand the command does not take.
Arguments parseArguments(std::span<const std::string_view> arguments, const ArgumentSyntax& syntax);

// The confidence setting: a decimal number from 0 to 1 inclusive. Throws CommandError (usage) otherwise.
double parseSensitivity(std::string_view value);

// "ru" (convert as typed on the English layout) or "en" (as typed on the Russian layout). Throws
// CommandError (usage) otherwise.
ConversionDirection parseTargetLayout(std::string_view value);

// "none" (signals that find nothing, for reproducible scores) or "system" (the desktop's spelling
// dictionaries and recogniser). Throws CommandError (usage) otherwise.
SignalSource parseSignalSource(std::string_view value);

}  // namespace tarvelo::cli
