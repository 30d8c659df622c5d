// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/xdg_autostart_login_items.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "build_info.h"
#include "platform/linux/installation.h"
#include "platform/linux/xdg_paths.h"
#include "support/translation.h"

namespace tarvelo::desktop {
namespace {

constexpr std::string_view kProgramName = "tarvelo";

// The desktop file's string rule: a backslash is written twice, and line breaks and tabs as escapes: a
// line break in the path would otherwise end the key and start another one (a "Hidden=true" inside a
// folder name would hide the entry).
std::string escaped(std::string_view text) {
    std::string value;
    for (const char c : text) {
        switch (c) {
            case '\\': value += "\\\\"; break;
            case '\n': value += "\\n"; break;
            case '\r': value += "\\r"; break;
            case '\t': value += "\\t"; break;
            default: value += c; break;
        }
    }
    return value;
}

// The Exec key: a program with none of the reserved characters stands as it is; any other goes in double
// quotes with ", `, $ and \ escaped. % is doubled either way, as a field code escape. Then the string rule.
std::string execValue(const std::string& program) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string value;
    const bool quoted = program.find_first_of(reserved) != std::string::npos;
    if (quoted) value += '"';
    for (const char c : program) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) value += '\\';
        if (c == '%') value += '%';
        value += c;
    }
    if (quoted) value += '"';
    return escaped(value);
}

// The program the search path finds for `name`, as a shell would.
std::optional<std::filesystem::path> foundOnSearchPath(std::string_view name, std::string_view searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const std::size_t end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string_view folder = searchPath.substr(start, end - start);
        // An empty entry means the current folder, which never names an installed program.
        if (!folder.empty() && folder.front() == '/') {
            const std::filesystem::path candidate = std::filesystem::path(folder) / name;
            std::error_code error;
            if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

// The running program when it is installed, else the copy at the configured prefix if there is one.
std::optional<std::filesystem::path> installedProgram() {
    const std::filesystem::path running = Installation::runningProgram();
    if (!running.empty() && Installation::containing(running)) return running;
    if (const auto configured = Installation::configured()) {
        std::filesystem::path program = configured->program(kProgramName);
        if (::access(program.c_str(), X_OK) == 0) return program;
    }
    return std::nullopt;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool isShown(const std::filesystem::path& entry) {
    std::ifstream file(entry);
    if (!file) return false;
    std::string line;
    while (std::getline(file, line)) {
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
    }
    return true;
}

// `sentence` names the failed step with "{path}" and "{error}" in it, as a whole sentence in English.
std::string failure(const char* sentence, const std::filesystem::path& path, const std::error_code& error) {
    return i18n::format(i18n::tr(sentence), {{"path", path.string()}, {"error", error.message()}});
}

}  // namespace

XdgAutostartLoginItems::XdgAutostartLoginItems()
    : XdgAutostartLoginItems(xdgConfigHome() / "autostart", installedProgram(),
                             std::getenv("PATH") != nullptr ? std::getenv("PATH") : "") {}

XdgAutostartLoginItems::XdgAutostartLoginItems(std::filesystem::path folder,
                                               std::optional<std::filesystem::path> program, std::string searchPath)
    : entry_(folder / (std::string(build::applicationId) + ".desktop")),
      legacyEntry_(folder / "tarvelo.desktop"),
      program_(std::move(program)),
      searchPath_(std::move(searchPath)) {}

bool XdgAutostartLoginItems::isEnabled() { return isShown(entry_) || isShown(legacyEntry_); }

std::string XdgAutostartLoginItems::entryText() const {
    // By name when the search path leads to this very program, so that the entry survives the program's
    // being replaced by an update; else by the path it lies at.
    std::string program = program_->string();
    if (const auto found = foundOnSearchPath(kProgramName, searchPath_)) {
        std::error_code error;
        if (std::filesystem::equivalent(*found, *program_, error)) program = kProgramName;
    }
    std::ostringstream content;
    content << "[Desktop Entry]\n"
            << "Type=Application\n"
            << "Name=Tarvelo\n"
            << "Comment=Fixes words typed in the wrong keyboard layout\n"
            << "Exec=" << execValue(program) << "\n"
            << "TryExec=" << escaped(program) << "\n"
            << "Icon=" << build::applicationId << "\n"
            << "Terminal=false\n"
            << "X-GNOME-Autostart-enabled=true\n";
    return content.str();
}

std::optional<std::string> XdgAutostartLoginItems::registerItem() {
    if (!program_) {
        return i18n::tr("Tarvelo can start at login once it is installed; this copy runs from its build folder.");
    }
    std::error_code error;
    std::filesystem::create_directories(entry_.parent_path(), error);
    if (error) return failure("Could not create the folder {path}: {error}.", entry_.parent_path(), error);

    // Written beside the entry and renamed over it, so a session never reads half an entry.
    const std::filesystem::path temporary = entry_.string() + ".new";
    {
        errno = 0;
        std::ofstream file(temporary, std::ios::trunc);
        file << entryText();
        file.flush();
        if (!file) {
            const std::error_code writeError(errno != 0 ? errno : EIO, std::generic_category());
            std::filesystem::remove(temporary, error);
            return failure("Could not write {path}: {error}.", entry_, writeError);
        }
    }
    std::filesystem::rename(temporary, entry_, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return failure("Could not write {path}: {error}.", entry_, error);
    }
    // An entry under the old name would start a second copy.
    std::filesystem::remove(legacyEntry_, error);
    if (error) return failure("Could not remove {path}: {error}.", legacyEntry_, error);
    return std::nullopt;
}

std::optional<std::string> XdgAutostartLoginItems::unregisterItem() {
    for (const std::filesystem::path& entry : {entry_, legacyEntry_}) {
        std::error_code error;
        std::filesystem::remove(entry, error);
        if (error) return failure("Could not remove {path}: {error}.", entry, error);
    }
    return std::nullopt;
}

std::optional<std::string> XdgAutostartLoginItems::rewriteStaleEntry() {
    // A hidden entry stays as the desktop left it: writing it again would switch it back on.
    if (!program_ || !isEnabled()) return std::nullopt;
    std::error_code error;
    if (!std::filesystem::exists(legacyEntry_, error) && fileText(entry_) == entryText()) return std::nullopt;
    return registerItem();
}

}  // namespace tarvelo::desktop
