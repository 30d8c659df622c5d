// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>
#include <string>

#include "analysis/layout_converter.h"
#include "arguments.h"
#include "command_error.h"
#include "commands.h"
#include "text_runs.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kHelp = R"(Usage: tarvelo-cli convert [--to ru|en]

Reads UTF-8 text on standard input and writes what the same physical keys give on
the other keyboard layout (English US QWERTY <-> Russian ЙЦУКЕН).

Without --to, every run of characters other than white space is converted on its
own, towards the other layout of the script it has more letters of (Latin A-Z
against Cyrillic); a run with as many Latin as Cyrillic letters, or with none,
is copied unchanged. White space is always copied byte for byte.

Options:
  --to ru      convert everything as typed on the English layout, into Russian
  --to en      convert everything as typed on the Russian layout, into English
  -h, --help   show this help

Example: echo 'ghbdtn vbh' | tarvelo-cli convert    writes: привет мир
)";

std::string convertText(std::string_view text, std::optional<ConversionDirection> direction) {
    const LayoutConverter converter;
    std::string out;
    out.reserve(text.size() * 2);
    for (const TextRun& run : textRuns(text)) {
        if (run.whiteSpace) {
            out.append(run.text);
        } else if (direction) {
            out.append(converter.convert(run.text, *direction));
        } else if (const auto converted = converter.convertAutomatically(run.text)) {
            out.append(converted->text);
        } else {
            out.append(run.text);
        }
    }
    return out;
}

}  // namespace

int runConvert(std::span<const std::string_view> arguments, const Io& io) {
    const Arguments parsed = parseArguments(arguments, {.valueOptions = {"to"}, .acceptsOperands = false});
    if (parsed.help) {
        writeOutput(io.out, kHelp);
        return kExitSuccess;
    }
    std::optional<ConversionDirection> direction;
    if (const auto to = parsed.option("to")) direction = parseTargetLayout(*to);

    const std::string input = readWellFormedInput(io.in);
    writeOutput(io.out, convertText(input, direction));
    return kExitSuccess;
}

}  // namespace tarvelo::cli
