// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/xdg_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace tarvelo::desktop {
namespace {

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
    return "/";
}

}  // namespace

std::filesystem::path xdgConfigHome() {
    // A relative XDG_CONFIG_HOME is invalid and is ignored.
    if (const char* value = std::getenv("XDG_CONFIG_HOME"); value != nullptr && value[0] == '/') return value;
    return homeFolder() / ".config";
}

}  // namespace tarvelo::desktop
