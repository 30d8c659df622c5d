// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/event_tap.h"

namespace tarvelo::desktop {

// The layout an input method gives the keys (IBus: the engine's declared layout; fcitx5: the keyboard
// input method in use): the keys give its text whatever keymap the client was given.
enum class InputMethodLayout { us, ru };

// The layout's own name ("us", "ru").
const char* inputMethodLayoutName(InputMethodLayout layout);

// The modifier state of a key as both IBus and fcitx5 give it: the X11 modifier mask, with Super also
// in a bit of its own.
namespace key_state {
inline constexpr std::uint32_t kShift = 1U << 0;
inline constexpr std::uint32_t kLock = 1U << 1;
inline constexpr std::uint32_t kControl = 1U << 2;
inline constexpr std::uint32_t kAlt = 1U << 3;
inline constexpr std::uint32_t kNumLock = 1U << 4;
inline constexpr std::uint32_t kMod4 = 1U << 6;
inline constexpr std::uint32_t kSuper = 1U << 26;
}  // namespace key_state

// What the keyboard monitor is told about a key the input method is handed: `keysym` is the X keysym
// the client's keymap gives, `evdevCode` the evdev key code (the same physical key in either layout),
// `state` the modifier mask above. Key codes are the virtual ones the monitor knows (Space, Backspace, Z
// and the chord keys at their physical positions, any other key kInputMethodOtherKeyBase plus its evdev
// code); Ctrl reads as Command, Alt as Option, Super as Control. The characters are the key's text in
// `layout`, with Shift and Caps Lock as a person expects; for a key the layout table does not know (the
// keypad), the text of `keysym`. None for a release and for a key that only modifies others (Shift,
// Ctrl, Alt, Super, the lock keys, the group switch).
std::optional<KeyEventRecord> inputMethodKeyRecord(std::uint32_t keysym, std::uint32_t evdevCode, std::uint32_t state,
                                                   bool release, InputMethodLayout layout);

// The text a keysym types by itself (the client's keymap's idea of the key), empty for none.
std::string keysymText(std::uint32_t keysym);

inline constexpr std::uint16_t kInputMethodOtherKeyBase = 0x100;

}  // namespace tarvelo::desktop
