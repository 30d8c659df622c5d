// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

#include "io.h"

// The commands of tarvelo-cli. Each takes the arguments after its name, reads all of its input,
// checks it, computes the whole output, and only then writes it; it answers the exit status, or
// throws CommandError before writing anything.
namespace tarvelo::cli {

int runConvert(std::span<const std::string_view> arguments, const Io& io);
int runDetect(std::span<const std::string_view> arguments, const Io& io);
int runEval(std::span<const std::string_view> arguments, const Io& io);
int runFix(std::span<const std::string_view> arguments, const Io& io);
int runSimulate(std::span<const std::string_view> arguments, const Io& io);

}  // namespace tarvelo::cli
