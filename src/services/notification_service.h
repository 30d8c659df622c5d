// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/notification_center.h"
#include "platform/system_sound.h"
#include "store/settings_manager.h"

namespace tarvelo {

// The sound and the notification after a confirmed correction, each as the user chose.
class NotificationService {
public:
    static constexpr const char* kSoundName = "Tink";
    static constexpr const char* kTitle = "Layout corrected";

    // `undoChord` names the undo chord in the body: "Command\u2013Z" on a Mac, "Ctrl+Z" on a PC keyboard.
    // The title and the body are posted in the user's language.
    NotificationService(SystemSound& sound, NotificationCenter& center, std::string_view undoChord = "Command\u2013Z")
        : sound_(sound), center_(center), undoChord_(undoChord) {}
    NotificationService(const NotificationService&) = delete;
    NotificationService& operator=(const NotificationService&) = delete;

    void correctionCompleted(const SettingsManager& settings);

private:
    SystemSound& sound_;
    NotificationCenter& center_;
    std::string undoChord_;
};

}  // namespace tarvelo
