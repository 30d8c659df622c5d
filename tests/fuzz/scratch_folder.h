// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_check.h"

// A new folder for the files a target writes, in memory where the machine has /dev/shm, so that each
// input costs no disk writes. Named "tarvelo-fuzz-<purpose>-XXXXXX".
inline std::filesystem::path scratchFolder(const std::string& purpose) {
    const char* shm = "/dev/shm";
    const std::filesystem::path base = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    std::string name = (base / ("tarvelo-fuzz-" + purpose + "-XXXXXX")).string();
    FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
    return name;
}
