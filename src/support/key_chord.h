// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/virtual_keys.h"

namespace tarvelo {

// A global shortcut as a person presses it: one key by its physical position (a virtual key code, so a
// chord works under either layout) and the modifiers held with it, as modifier_flag bits. Ctrl is
// kCommand, Alt kOption, Super kControl, as the desktop's keys map onto the flags.
struct KeyChord {
    std::uint16_t keyCode = 0;
    std::uint64_t modifiers = 0;

    friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

namespace key_chord {

inline constexpr std::uint64_t kAllModifiers =
    modifier_flag::kShift | modifier_flag::kControl | modifier_flag::kOption | modifier_flag::kCommand;

// Why a chord cannot be a global shortcut.
enum class Problem {
    // A key no chord may use (only Space, the letters, the digits and F1 to F12 may).
    unknownKey,
    // Neither Ctrl, Alt nor Super is held, and the key is no function key: the chord would take a key
    // away from typing.
    needsModifier,
};

// The chord's name for a person and for the store: "Ctrl+Alt+Space", "Ctrl+Shift+F5". Modifiers come
// in the order Ctrl, Alt, Shift, Super.
std::string format(const KeyChord& chord);
// The chord's parts as `format` names them: {"Ctrl", "Alt", "Space"}; the stored form.
std::vector<std::string> parts(const KeyChord& chord);
// A chord from its parts, in any order and any letter case; none for an unknown or repeated name, a
// missing or second key, or a chord that `problem` refuses.
std::optional<KeyChord> fromParts(const std::vector<std::string>& names);
// A chord named as `format` names it ("Ctrl+Alt+Space"); the same rules as `fromParts`.
std::optional<KeyChord> parse(std::string_view text);

// What keeps the chord from being a shortcut; none for a usable one.
std::optional<Problem> problem(const KeyChord& chord);
// The key's name ("Space", "A", "7", "F5"); empty for a key no chord may use.
std::string_view keyName(std::uint16_t keyCode);
bool isFunctionKey(std::uint16_t keyCode);
// Every key a chord may use.
const std::vector<std::uint16_t>& chordKeys();

// Whether a key press with `flags` is this chord. Ctrl and Alt must be exactly as in the chord; Shift
// and Super only count when the chord has them, so Shift+Alt+Space still is Alt+Space.
bool matches(const KeyChord& chord, std::uint16_t keyCode, std::uint64_t flags);

}  // namespace key_chord
}  // namespace tarvelo
