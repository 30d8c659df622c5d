// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/process_application.h"

#include <gio/gdesktopappinfo.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/linux/process_libraries.h"

namespace tarvelo::desktop {
namespace {

// "\x2d" back to "-" (systemd writes a dash inside a name part so).
std::string unescaped(std::string_view part) {
    std::string out;
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (part.substr(i, 4) == "\\x2d") {
            out += '-';
            i += 3;
        } else {
            out += part[i];
        }
    }
    return out;
}

std::optional<std::string> desktopIdOfUnit(std::string_view unit) {
    if (!unit.starts_with("app-")) return std::nullopt;
    unit.remove_prefix(4);
    bool randomLast = false;
    if (unit.ends_with(".scope")) {
        unit.remove_suffix(6);
        randomLast = true;
    } else if (unit.ends_with(".service")) {
        unit.remove_suffix(8);
        unit = unit.substr(0, unit.find('@'));
    } else if (unit.ends_with(".slice")) {
        unit.remove_suffix(6);
    } else {
        return std::nullopt;
    }
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dash = unit.find('-', start);
        parts.push_back(unit.substr(start, dash == std::string_view::npos ? std::string_view::npos : dash - start));
        if (dash == std::string_view::npos) break;
        start = dash + 1;
    }
    if (randomLast) {
        if (parts.size() < 2) return std::nullopt;
        parts.pop_back();
    }
    std::string id = unescaped(parts.back());
    if (id.empty()) return std::nullopt;
    return id;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream file(path);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::optional<std::string> programName(int pid) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    if (error || program.filename().empty()) return std::nullopt;
    return program.filename().string();
}

std::optional<std::string> startupWindowClass(const std::string& desktopId) {
    GDesktopAppInfo* info = g_desktop_app_info_new((desktopId + ".desktop").c_str());
    if (info == nullptr) return std::nullopt;
    std::optional<std::string> windowClass;
    if (const char* value = g_desktop_app_info_get_startup_wm_class(info); value != nullptr && *value != '\0') {
        windowClass = value;
    }
    g_object_unref(info);
    return windowClass;
}

}  // namespace

std::optional<std::string> desktopIdOfControlGroup(std::string_view cgroup) {
    // Each line is "hierarchy:controllers:path"; the unified hierarchy's is "0::path".
    for (std::size_t start = 0; start < cgroup.size();) {
        const std::size_t end = std::min(cgroup.find('\n', start), cgroup.size());
        std::string_view line = cgroup.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = line.find(':', line.find(':') + 1);
        if (colon == std::string_view::npos) continue;
        std::string_view path = line.substr(colon + 1);
        // The innermost unit first: a terminal's shell runs in its own scope inside the terminal's slice.
        while (!path.empty()) {
            const std::size_t slash = path.rfind('/');
            const std::string_view unit = path.substr(slash == std::string_view::npos ? 0 : slash + 1);
            if (std::optional<std::string> id = desktopIdOfUnit(unit)) return id;
            if (slash == std::string_view::npos) break;
            path = path.substr(0, slash);
        }
    }
    return std::nullopt;
}

std::optional<std::string> processApplicationIdentifier(int pid) {
    const std::optional<std::string> program = programName(pid);
    if (!program) return std::nullopt;
    const bool qt = processMapsLibrary(pid, "libQt6Core.so") || processMapsLibrary(pid, "libQt5Core.so");
    std::optional<std::string> desktopId;
    if (const std::optional<std::string> cgroup = readFile("/proc/" + std::to_string(pid) + "/cgroup")) {
        desktopId = desktopIdOfControlGroup(*cgroup);
    }
    if (desktopId) {
        if (std::optional<std::string> windowClass = startupWindowClass(*desktopId)) return windowClass;
    }
    if (qt || !desktopId) return program;
    return desktopId;
}

}  // namespace tarvelo::desktop
