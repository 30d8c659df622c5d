// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/key_labels.h"

namespace tarvelo {

// The two fixed global shortcuts. Nothing stores or changes them; the keyboard monitor recognises them
// by physical key, so they work under either layout.
enum class Shortcut { convertSelection, convertLastWord };

inline constexpr std::array<Shortcut, 2> kAllShortcuts{Shortcut::convertSelection, Shortcut::convertLastWord};

// "convertSelection" or "convertLastWord", also the shortcut's identity in lists.
std::string_view rawValue(Shortcut shortcut);
// Exactly one of the two raw values, case-sensitive; none for anything else.
std::optional<Shortcut> shortcutFromRawValue(std::string_view raw);
std::string_view title(Shortcut shortcut);
// The key cap as the desktop names it; a view into `labels`.
std::string_view keyLabel(Shortcut shortcut, const KeyLabels& labels);

// The catalogue of shortcuts that the Hotkeys page lists.
class HotKeyManager {
public:
    HotKeyManager() : shortcuts_(kAllShortcuts.begin(), kAllShortcuts.end()) {}

    const std::vector<Shortcut>& shortcuts() const { return shortcuts_; }

private:
    std::vector<Shortcut> shortcuts_;
};

}  // namespace tarvelo
