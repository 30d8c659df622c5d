// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/key_labels.h"
#include "store/settings_manager.h"
#include "support/key_chord.h"

namespace tarvelo {

// The two global shortcuts. Their chords are the user's, kept in the settings; the keyboard monitor
// recognises them by physical key, so they work under either layout.
enum class Shortcut { convertSelection, convertLastWord };

// Ctrl+Z on a PC keyboard: the application's own undo, which Tarvelo answers only right after a correction.
inline constexpr KeyChord kUndoChord{virtual_key::kZ, modifier_flag::kCommand};

inline constexpr std::array<Shortcut, 2> kAllShortcuts{Shortcut::convertSelection, Shortcut::convertLastWord};

// "convertSelection" or "convertLastWord", also the shortcut's identity in lists.
std::string_view rawValue(Shortcut shortcut);
// Exactly one of the two raw values, case-sensitive; none for anything else.
std::optional<Shortcut> shortcutFromRawValue(std::string_view raw);
std::string_view title(Shortcut shortcut);
// The key cap as the desktop names it; a view into `labels`.
std::string_view keyLabel(Shortcut shortcut, const KeyLabels& labels);

// Why a chord was not taken for a shortcut.
enum class ChordRefusal {
    unknownKey,     // a key no shortcut may use
    needsModifier,  // no Ctrl, Alt or Super, and no function key
    undoChord,      // the undo chord
    otherShortcut,  // the other shortcut's chord
};

// The catalogue of shortcuts that the Hotkeys page lists, and their chords, which it changes.
class HotKeyManager {
public:
    explicit HotKeyManager(SettingsManager& settings)
        : settings_(settings), shortcuts_(kAllShortcuts.begin(), kAllShortcuts.end()) {}

    const std::vector<Shortcut>& shortcuts() const { return shortcuts_; }

    // The chord the shortcut answers to now, and the one it has until the user changes it.
    const Observable<KeyChord>& chord(Shortcut shortcut) const;
    static KeyChord defaultChord(Shortcut shortcut);

    // Why `chord` cannot serve `shortcut`; none when it can (its own chord included).
    std::optional<ChordRefusal> refusal(Shortcut shortcut, const KeyChord& chord) const;
    // Stores the chord for the shortcut unless it is refused; the refusal otherwise, and nothing changes.
    std::optional<ChordRefusal> setChord(Shortcut shortcut, const KeyChord& chord);
    // Back to the default chord, unless the other shortcut has taken it meanwhile.
    std::optional<ChordRefusal> resetChord(Shortcut shortcut);

private:
    Observable<KeyChord>& field(Shortcut shortcut);

    SettingsManager& settings_;
    std::vector<Shortcut> shortcuts_;
};

}  // namespace tarvelo
