// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/freedesktop_system_sound.h"

#include <glib.h>

#include <filesystem>
#include <memory>
#include <utility>

namespace tarvelo::desktop {
namespace {

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
using GString = std::unique_ptr<gchar, GFreeDeleter>;

}  // namespace

FreedesktopSystemSound::FreedesktopSystemSound(std::vector<std::string> soundFolders, std::vector<std::string> players)
    : soundFolders_(std::move(soundFolders)),
      players_(std::move(players)),
      // The short, light alert of the theme.
      themeNames_{{"Tink", "message"}} {}

std::vector<std::string> FreedesktopSystemSound::defaultSoundFolders() {
    std::vector<std::string> folders;
    const std::string user = g_get_user_data_dir();
    folders.push_back(user + "/sounds/freedesktop/stereo");
    for (const gchar* const* data = g_get_system_data_dirs(); *data != nullptr; ++data) {
        folders.push_back(std::string(*data) + "/sounds/freedesktop/stereo");
    }
    return folders;
}

bool FreedesktopSystemSound::play(std::string_view name) {
    const auto themed = themeNames_.find(name);
    const std::string themeName = themed != themeNames_.end() ? themed->second : std::string(name);
    std::string file;
    for (const std::string& folder : soundFolders_) {
        for (const char* extension : {".oga", ".ogg", ".wav"}) {
            const std::string candidate = folder + "/" + themeName + extension;
            std::error_code error;
            if (std::filesystem::is_regular_file(candidate, error)) {
                file = candidate;
                break;
            }
        }
        if (!file.empty()) break;
    }
    if (file.empty()) return false;
    for (const std::string& player : players_) {
        const GString path(g_find_program_in_path(player.c_str()));
        if (!path) continue;
        gchar* argv[] = {path.get(), const_cast<gchar*>(file.c_str()), nullptr};
        // Detached, with its output dropped: the sound plays while typing goes on.
        const GSpawnFlags flags = static_cast<GSpawnFlags>(G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL |
                                                           G_SPAWN_STDIN_FROM_DEV_NULL);
        GError* error = nullptr;
        GPid pid = 0;
        if (g_spawn_async(nullptr, argv, nullptr, static_cast<GSpawnFlags>(flags | G_SPAWN_DO_NOT_REAP_CHILD), nullptr,
                          nullptr, &pid, &error)) {
            g_child_watch_add(pid, [](GPid child, gint, gpointer) { g_spawn_close_pid(child); }, nullptr);
            return true;
        }
        g_error_free(error);
    }
    return false;
}

}  // namespace tarvelo::desktop
