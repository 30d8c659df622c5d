// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/process_libraries.h"

#include <fstream>
#include <string>

namespace tarvelo::desktop {

bool processMapsLibrary(int pid, std::string_view prefix) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        // The path is the last field; a library is mapped several times, the first line is enough.
        const std::size_t slash = line.rfind('/');
        if (slash != std::string::npos && std::string_view(line).substr(slash + 1).starts_with(prefix)) return true;
    }
    return false;
}

}  // namespace tarvelo::desktop
