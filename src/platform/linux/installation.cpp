// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/installation.h"

#include <system_error>

#include "build_info.h"

namespace tarvelo::desktop {
namespace {

bool hasDataFolder(const std::filesystem::path& prefix) {
    std::error_code error;
    return std::filesystem::is_directory(prefix / build::installDataDir, error);
}

}  // namespace

std::optional<Installation> Installation::containing(const std::filesystem::path& program) {
    // Walk up from the program's folder through the programs' folder, one name at a time ("bin", or
    // "lib/x" for a configured folder of two names).
    std::filesystem::path prefix = program.parent_path();
    const std::filesystem::path binDir(build::installBinDir);
    for (auto name = binDir.end(); name != binDir.begin();) {
        --name;
        if (name->empty()) continue;  // a trailing separator
        if (prefix.filename() != *name) return std::nullopt;
        prefix = prefix.parent_path();
    }
    if (prefix.empty() || !hasDataFolder(prefix)) return std::nullopt;
    return Installation(prefix);
}

std::optional<Installation> Installation::configured() {
    const std::filesystem::path prefix(build::installPrefix);
    if (!hasDataFolder(prefix)) return std::nullopt;
    return Installation(prefix);
}

std::filesystem::path Installation::runningProgram() {
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

std::filesystem::path Installation::program(std::string_view name) const {
    return prefix_ / build::installBinDir / name;
}

std::filesystem::path Installation::dataFile(std::string_view name) const {
    return prefix_ / build::installDataDir / name;
}

}  // namespace tarvelo::desktop
