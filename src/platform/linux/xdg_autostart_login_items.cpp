#include "platform/linux/xdg_autostart_login_items.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "platform/linux/xdg_paths.h"

namespace tarvelo::desktop {
namespace {

// The Exec key's quoting: the path in double quotes with ", `, $ and \ escaped, % doubled as a field
// code escape, then backslashes escaped once more and line breaks and tabs written as escapes, as the
// desktop file's string rule asks: a line break in the path would otherwise end the key and start
// another one (a "Hidden=true" inside a folder name would hide the entry).
std::string execValue(const std::filesystem::path& executable) {
    std::string quoted = "\"";
    for (const char c : executable.string()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
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

std::string failure(const std::string& action, const std::filesystem::path& path, const std::error_code& error) {
    return "Could not " + action + " " + path.string() + ": " + error.message() + ".";
}

}  // namespace

XdgAutostartLoginItems::XdgAutostartLoginItems() {
    std::error_code error;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    entry_ = xdgConfigHome() / "autostart" / "tarvelo.desktop";
    executable_ = error ? std::filesystem::path("tarvelo") : std::move(executable);
}

XdgAutostartLoginItems::XdgAutostartLoginItems(std::filesystem::path entry, std::filesystem::path executable)
    : entry_(std::move(entry)), executable_(std::move(executable)) {}

bool XdgAutostartLoginItems::isEnabled() {
    std::ifstream file(entry_);
    if (!file) return false;
    std::string line;
    while (std::getline(file, line)) {
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
    }
    return true;
}

std::optional<std::string> XdgAutostartLoginItems::registerItem() {
    std::error_code error;
    std::filesystem::create_directories(entry_.parent_path(), error);
    if (error) return failure("create the folder", entry_.parent_path(), error);

    std::ostringstream content;
    content << "[Desktop Entry]\n"
            << "Type=Application\n"
            << "Name=Tarvelo\n"
            << "Comment=Fixes words typed in the wrong keyboard layout\n"
            << "Exec=" << execValue(executable_) << "\n"
            << "Icon=tarvelo\n"
            << "Terminal=false\n"
            << "X-GNOME-Autostart-enabled=true\n";

    // Written beside the entry and renamed over it, so a session never reads half an entry.
    const std::filesystem::path temporary = entry_.string() + ".new";
    {
        errno = 0;
        std::ofstream file(temporary, std::ios::trunc);
        file << content.str();
        file.flush();
        if (!file) {
            const std::error_code writeError(errno != 0 ? errno : EIO, std::generic_category());
            std::filesystem::remove(temporary, error);
            return failure("write", entry_, writeError);
        }
    }
    std::filesystem::rename(temporary, entry_, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return failure("write", entry_, error);
    }
    return std::nullopt;
}

std::optional<std::string> XdgAutostartLoginItems::unregisterItem() {
    std::error_code error;
    std::filesystem::remove(entry_, error);
    if (error) return failure("remove", entry_, error);
    return std::nullopt;
}

}  // namespace tarvelo::desktop
