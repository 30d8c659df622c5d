// SPDX-License-Identifier: GPL-3.0-or-later
#include "arguments.h"

#include <algorithm>
#include <charconv>

#include "command_error.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kEndOfOptions = "--";

bool isHelp(std::string_view argument) { return argument == "-h" || argument == "--help"; }

// "-" alone is an ordinary argument, as it is for most tools.
bool looksLikeOption(std::string_view argument) { return argument.size() > 1 && argument.front() == '-'; }

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

std::optional<std::string_view> Arguments::option(std::string_view name) const {
    const auto found = options.find(name);
    if (found == options.end()) return std::nullopt;
    return found->second;
}

Arguments parseArguments(std::span<const std::string_view> arguments, const ArgumentSyntax& syntax) {
    Arguments parsed;
    const auto endOfOptions = std::find(arguments.begin(), arguments.end(), kEndOfOptions);
    if (std::any_of(arguments.begin(), endOfOptions, isHelp)) {
        parsed.help = true;
        return parsed;
    }

    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        if (argument == endOfOptions) {
            parsed.operands.insert(parsed.operands.end(), std::next(argument), arguments.end());
            break;
        }
        if (!looksLikeOption(*argument)) {
            parsed.operands.emplace_back(*argument);
            continue;
        }

        std::string_view name = *argument;
        std::optional<std::string_view> value;
        if (name.starts_with("--")) {
            name.remove_prefix(2);
            if (const auto equals = name.find('='); equals != std::string_view::npos) {
                value = name.substr(equals + 1);
                name = name.substr(0, equals);
            }
        }
        const bool known = argument->starts_with("--") &&
                           std::find(syntax.valueOptions.begin(), syntax.valueOptions.end(), name) !=
                               syntax.valueOptions.end();
        if (!known) throw CommandError(ErrorKind::usage, "unknown option " + quoted(*argument));
        if (!value) {
            if (std::next(argument) == arguments.end() || std::next(argument) == endOfOptions) {
                throw CommandError(ErrorKind::usage, "option --" + std::string(name) + " needs a value");
            }
            value = *++argument;
        }
        if (!parsed.options.emplace(std::string(name), std::string(*value)).second) {
            throw CommandError(ErrorKind::usage, "option --" + std::string(name) + " is given more than once");
        }
    }

    if (!syntax.acceptsOperands && !parsed.operands.empty()) {
        throw CommandError(ErrorKind::usage, "unexpected argument " + quoted(parsed.operands.front()));
    }
    return parsed;
}

double parseSensitivity(std::string_view value) {
    double sensitivity = 0.0;
    const char* const end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, sensitivity, std::chars_format::general);
    // The negated test also turns away "nan", which from_chars accepts.
    if (value.empty() || error != std::errc() || stop != end || !(sensitivity >= 0.0 && sensitivity <= 1.0)) {
        throw CommandError(ErrorKind::usage, "--sensitivity must be a number from 0 to 1, not " + quoted(value));
    }
    return sensitivity;
}

ConversionDirection parseTargetLayout(std::string_view value) {
    if (value == "ru") return ConversionDirection::englishToRussian;
    if (value == "en") return ConversionDirection::russianToEnglish;
    throw CommandError(ErrorKind::usage, "--to must be 'ru' or 'en', not " + quoted(value));
}

SignalSource parseSignalSource(std::string_view value) {
    if (value == "none") return SignalSource::none;
    if (value == "system") return SignalSource::system;
    throw CommandError(ErrorKind::usage, "--signals must be 'none' or 'system', not " + quoted(value));
}

}  // namespace tarvelo::cli
