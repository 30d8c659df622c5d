// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/hot_key_manager.h"

namespace tarvelo {

std::string_view rawValue(Shortcut shortcut) {
    switch (shortcut) {
        case Shortcut::convertSelection: return "convertSelection";
        case Shortcut::convertLastWord: return "convertLastWord";
    }
    return {};
}

std::optional<Shortcut> shortcutFromRawValue(std::string_view raw) {
    for (const Shortcut shortcut : kAllShortcuts) {
        if (rawValue(shortcut) == raw) return shortcut;
    }
    return std::nullopt;
}

std::string_view title(Shortcut shortcut) {
    switch (shortcut) {
        case Shortcut::convertSelection: return "Convert Selected Text";
        case Shortcut::convertLastWord: return "Convert Last Word";
    }
    return {};
}

std::string_view keyLabel(Shortcut shortcut, const KeyLabels& labels) {
    switch (shortcut) {
        case Shortcut::convertSelection: return labels.convertSelection;
        case Shortcut::convertLastWord: return labels.convertLastWord;
    }
    return {};
}

}  // namespace tarvelo
