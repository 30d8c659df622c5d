// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/input_context.h"
#include "platform/linux/x11/xkb_keymap.h"

namespace tarvelo::desktop {

// The selected input source of the X11 desktop: the layout of the current XKB group as the keymap was
// configured ("us", "ru"). A layout is selected by locking the group that holds it. A keymap of nullptr
// (no display) has no input source and selects nothing.
class XkbInputContext final : public InputContext {
public:
    explicit XkbInputContext(XkbKeymap* keymap) : keymap_(keymap) {}

    std::optional<std::string> selectedKeyboardInputSource() override;
    bool selectKeyboardLayout(KeyboardLayout layout) override;

private:
    XkbKeymap* keymap_;
};

}  // namespace tarvelo::desktop
