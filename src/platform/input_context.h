// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace tarvelo {

// The keyboard layout the user has selected. Called on the main thread.
class InputContext {
public:
    virtual ~InputContext() = default;
    InputContext(const InputContext&) = delete;
    InputContext& operator=(const InputContext&) = delete;

    // The selected keyboard input source's identifier as the desktop names it (for example
    // "com.apple.keylayout.US" or "us"); none when there is no input context or it reports no source.
    virtual std::optional<std::string> selectedKeyboardInputSource() = 0;

protected:
    InputContext() = default;
};

}  // namespace tarvelo
