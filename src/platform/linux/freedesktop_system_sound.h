// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_sound.h"

namespace tarvelo::desktop {

// Short sounds from the freedesktop sound theme, played by the first sound player found on the PATH.
class FreedesktopSystemSound final : public SystemSound {
public:
    // `soundFolders` are searched in order for "<theme name>.oga", ".ogg" or ".wav"; `players` are
    // program names that play one file given as their last argument.
    FreedesktopSystemSound(std::vector<std::string> soundFolders = defaultSoundFolders(),
                           std::vector<std::string> players = {"pw-play", "paplay", "ogg123", "aplay"});

    // A name the system uses ("Tink") is played as its counterpart in the theme ("message").
    bool play(std::string_view name) override;

    static std::vector<std::string> defaultSoundFolders();

private:
    std::vector<std::string> soundFolders_;
    std::vector<std::string> players_;
    std::map<std::string, std::string, std::less<>> themeNames_;
};

}  // namespace tarvelo::desktop
