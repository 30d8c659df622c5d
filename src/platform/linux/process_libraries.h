// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelo::desktop {

// Whether the process `pid` has a shared library whose file name starts with `prefix` ("libgtk-3.so")
// mapped, as /proc says; false when the process is gone or not ours to read.
bool processMapsLibrary(int pid, std::string_view prefix);
// The file name of that library ("libgtk-4.so.1.800.3", which carries its version), or none.
std::optional<std::string> processLibraryFile(int pid, std::string_view prefix);

}  // namespace tarvelo::desktop
