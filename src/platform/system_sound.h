// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarvelo {

// The desktop's short alert sounds. Called on the main thread.
class SystemSound {
public:
    virtual ~SystemSound() = default;
    SystemSound(const SystemSound&) = delete;
    SystemSound& operator=(const SystemSound&) = delete;

    // Starts playing the named sound and returns at once; false when there is no such sound.
    virtual bool play(std::string_view name) = 0;

protected:
    SystemSound() = default;
};

}  // namespace tarvelo
