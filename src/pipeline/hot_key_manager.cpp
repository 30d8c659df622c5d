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

const Observable<KeyChord>& HotKeyManager::chord(Shortcut shortcut) const {
    return shortcut == Shortcut::convertSelection ? settings_.convertSelectionChord : settings_.convertLastWordChord;
}

Observable<KeyChord>& HotKeyManager::field(Shortcut shortcut) {
    return shortcut == Shortcut::convertSelection ? settings_.convertSelectionChord : settings_.convertLastWordChord;
}

KeyChord HotKeyManager::defaultChord(Shortcut shortcut) {
    return shortcut == Shortcut::convertSelection ? SettingsManager::kDefaultConvertSelectionChord
                                                  : SettingsManager::kDefaultConvertLastWordChord;
}

std::optional<ChordRefusal> HotKeyManager::refusal(Shortcut shortcut, const KeyChord& candidate) const {
    if (const auto problem = key_chord::problem(candidate)) {
        return *problem == key_chord::Problem::unknownKey ? ChordRefusal::unknownKey : ChordRefusal::needsModifier;
    }
    if (candidate == kUndoChord) return ChordRefusal::undoChord;
    for (const Shortcut other : shortcuts_) {
        if (other != shortcut && chord(other).get() == candidate) return ChordRefusal::otherShortcut;
    }
    return std::nullopt;
}

std::optional<ChordRefusal> HotKeyManager::setChord(Shortcut shortcut, const KeyChord& candidate) {
    if (const auto refused = refusal(shortcut, candidate)) return refused;
    field(shortcut).set(candidate);
    return std::nullopt;
}

std::optional<ChordRefusal> HotKeyManager::resetChord(Shortcut shortcut) {
    return setChord(shortcut, defaultChord(shortcut));
}

}  // namespace tarvelo
