// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/notification_service.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "support/translation.h"

namespace tarvelo {
namespace {

// A random (version 4) UUID in its lower-case 8-4-4-4-12 text form.
std::string randomUuid() {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    std::mt19937_64 engine(seed);
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t half = 0; half < 2; ++half) {
        std::uint64_t bits = engine();
        for (std::size_t i = 0; i < 8; ++i, bits >>= 8) bytes[half * 8 + i] = static_cast<std::uint8_t>(bits & 0xFF);
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // the RFC 4122 variant

    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string uuid;
    uuid.reserve(36);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) uuid += '-';
        uuid += kDigits[bytes[i] >> 4];
        uuid += kDigits[bytes[i] & 0x0F];
    }
    return uuid;
}

}  // namespace

void NotificationService::correctionCompleted(const SettingsManager& settings) {
    // A sound that does not exist is simply not heard.
    if (settings.playSound.get()) sound_.play(kSoundName);
    if (!settings.showNotification.get()) return;
    center_.post(UserNotification{
        randomUuid(), i18n::tr(kTitle),
        i18n::format(i18n::tr("The last word was corrected. Press {chord} to undo."), {{"chord", undoChord_}})});
}

}  // namespace tarvelo
