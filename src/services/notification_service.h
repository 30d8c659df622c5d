#pragma once

#include <functional>
#include <string>

#include "platform/notification_center.h"
#include "platform/system_sound.h"
#include "store/settings_manager.h"

namespace tarvelo {

// The sound and the notification after a confirmed correction, each as the user chose.
class NotificationService {
public:
    static constexpr const char* kSoundName = "Tink";
    static constexpr const char* kTitle = "Layout corrected";
    static constexpr const char* kBody = "The last word was corrected. Press Command\u2013Z to undo.";

    NotificationService(SystemSound& sound, NotificationCenter& center) : sound_(sound), center_(center) {}
    NotificationService(const NotificationService&) = delete;
    NotificationService& operator=(const NotificationService&) = delete;

    void correctionCompleted(const SettingsManager& settings);

private:
    SystemSound& sound_;
    NotificationCenter& center_;
};

}  // namespace tarvelo
