// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/process_libraries.h"

#include <fstream>
#include <string>

namespace tarvelo::desktop {

std::optional<std::string> processLibraryFile(int pid, std::string_view prefix) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        // The path is the last field; a library is mapped several times, the first line is enough.
        const std::size_t slash = line.rfind('/');
        if (slash == std::string::npos) continue;
        const std::string_view file = std::string_view(line).substr(slash + 1);
        if (file.starts_with(prefix)) return std::string(file);
    }
    return std::nullopt;
}

bool processMapsLibrary(int pid, std::string_view prefix) { return processLibraryFile(pid, prefix).has_value(); }

}  // namespace tarvelo::desktop
