// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/xkb_input_context.h"

namespace tarvelo::desktop {

std::optional<std::string> XkbInputContext::selectedKeyboardInputSource() {
    if (keymap_ == nullptr) return std::nullopt;
    return keymap_->currentLayoutName();
}

bool XkbInputContext::selectKeyboardLayout(KeyboardLayout layout) {
    if (keymap_ == nullptr) return false;
    return keymap_->lockGroupOfLayout(layout == KeyboardLayout::russian ? "ru" : "us");
}

}  // namespace tarvelo::desktop
