// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace tarvelo {

// The two keyboard layouts a correction moves text between.
enum class KeyboardLayout {
    english,  // US QWERTY
    russian,  // ЙЦУКЕН
};

// The keyboard layout the user has selected. Called on the main thread.
class InputContext {
public:
    virtual ~InputContext() = default;
    InputContext(const InputContext&) = delete;
    InputContext& operator=(const InputContext&) = delete;

    // The selected keyboard input source's identifier as the desktop names it (for example
    // "com.apple.keylayout.US" or "us"); none when there is no input context or it reports no source.
    virtual std::optional<std::string> selectedKeyboardInputSource() = 0;

    // Selects the input source that holds `layout`, as the user would with the desktop's layout switch.
    // False, with nothing changed, when the desktop offers no source with that layout or refuses the
    // change; the caller then leaves the user's layout as it is.
    virtual bool selectKeyboardLayout(KeyboardLayout layout) = 0;

protected:
    InputContext() = default;
};

}  // namespace tarvelo
