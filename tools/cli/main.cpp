// SPDX-License-Identifier: GPL-3.0-or-later
// tarvelo-cli: converts, judges and fixes text typed in the wrong keyboard layout, from the shell.

#include <unistd.h>

#include <exception>
#include <iostream>
#include <span>
#include <string_view>
#include <vector>

#include "build_info.h"
#include "command_error.h"
#include "commands.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kUsage = R"(Usage: tarvelo-cli COMMAND [OPTION...] [ARGUMENT...]

Fixes text typed in the wrong keyboard layout, English (US QWERTY) against
Russian (ЙЦУКЕН): "ghbdtn" typed on the English layout meant "привет".

Commands:
  convert  convert standard input key by key into the other layout
  detect   show how each token would be judged, as JSON lines
  eval     measure false corrections and recall on corpora of running text
  fix      correct the words of standard input typed in the wrong layout
  simulate type standard input into a pretend desktop and watch Tarvelo work

Run 'tarvelo-cli COMMAND --help' for the options of a command, and
'tarvelo-cli --version' for the version.

Exit status: 0 on success, 1 when standard input cannot be read or the output
cannot be written, 2 for a bad command line or input that is not UTF-8.
)";

struct Command {
    std::string_view name;
    int (*run)(std::span<const std::string_view>, const Io&);
};

constexpr Command kCommands[] = {
    {"convert", runConvert},
    {"detect", runDetect},
    {"eval", runEval},
    {"fix", runFix},
    {"simulate", runSimulate},
};

int reportError(const Io& io, std::string_view command, const CommandError& error) {
    io.err << "tarvelo-cli " << command << ": " << error.what() << '\n';
    if (error.kind() == ErrorKind::usage) io.err << "Try 'tarvelo-cli " << command << " --help'.\n";
    return exitStatus(error.kind());
}

int run(std::span<const std::string_view> arguments, const Io& io) {
    if (arguments.empty()) {
        io.err << kUsage;
        return kExitUsage;
    }
    const std::string_view name = arguments.front();
    if (name == "-h" || name == "--help") {
        io.out << kUsage << std::flush;
        return io.out ? kExitSuccess : kExitFailure;
    }
    if (name == "--version") {
        io.out << "tarvelo-cli " << build::version << '\n' << std::flush;
        return io.out ? kExitSuccess : kExitFailure;
    }
    for (const Command& command : kCommands) {
        if (command.name != name) continue;
        try {
            return command.run(arguments.subspan(1), io);
        } catch (const CommandError& error) {
            return reportError(io, name, error);
        }
    }
    io.err << "tarvelo-cli: unknown command '" << name << "'\nTry 'tarvelo-cli --help'.\n";
    return kExitUsage;
}

}  // namespace
}  // namespace tarvelo::cli

int main(int argc, char** argv) {
    // The commands read and write whole texts through the C++ streams only.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const tarvelo::cli::Io io{std::cin, std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    try {
        return tarvelo::cli::run(arguments, io);
    } catch (const std::exception& error) {
        std::cerr << "tarvelo-cli: " << error.what() << '\n';
        return tarvelo::cli::kExitFailure;
    }
}
