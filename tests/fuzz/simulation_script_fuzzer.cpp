// SPDX-License-Identifier: GPL-3.0-or-later
// The script parser of `tarvelo-cli simulate` on arbitrary lines: it answers steps or refuses the line
// with a CommandError, nothing else.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "command_error.h"
#include "simulation_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)tarvelo::cli::parseSimulationLine(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const tarvelo::cli::CommandError&) {
    }
    return 0;
}
