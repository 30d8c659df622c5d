// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

namespace tarvelo::desktop {

// A copy of Tarvelo put in place by `cmake --install` or the Debian package: the prefix under which its
// programs (<prefix>/bin) and its data (<prefix>/share/tarvelo) lie, in the folders the build was
// configured with.
class Installation {
public:
    explicit Installation(std::filesystem::path prefix) : prefix_(std::move(prefix)) {}

    // The installation `program` belongs to: the program lies in the programs' folder of a prefix, and
    // that prefix holds Tarvelo's data folder. None for a program run from its build folder, which has no
    // data folder beside it. The prefix is taken from where the program lies, not from the configured
    // prefix, so an installation moved or made with `cmake --install --prefix` is recognised too.
    static std::optional<Installation> containing(const std::filesystem::path& program);

    // The installation at the prefix this build was configured with, when its data folder is there.
    static std::optional<Installation> configured();

    // The file of the running program (/proc/self/exe, links resolved); empty when it cannot be read.
    static std::filesystem::path runningProgram();

    const std::filesystem::path& prefix() const { return prefix_; }
    std::filesystem::path program(std::string_view name) const;
    std::filesystem::path dataFile(std::string_view name) const;

private:
    std::filesystem::path prefix_;
};

}  // namespace tarvelo::desktop
