// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/event_tap.h"

namespace tarvelo::desktop {

// The layout a Tarvelo engine declares: the keys give its text whatever keymap the client was given.
enum class IbusLayout { us, ru };

// The engine's name for a layout ("tarvelo-us", "tarvelo-ru"), the layout's own name ("us", "ru"), and
// the layout an engine name stands for (none for an engine that is not Tarvelo's).
const char* ibusEngineName(IbusLayout layout);
const char* ibusLayoutName(IbusLayout layout);
std::optional<IbusLayout> ibusLayoutOfEngine(std::string_view engineName);

// What the keyboard monitor is told about a key IBus hands to the engine: `keycode` is the evdev key
// code (the same physical key in either layout), `state` IBus's modifier mask. Key codes are the
// virtual ones the monitor knows (Space, Backspace, Z and the chord keys at their physical positions,
// any other key kOtherKeyBase plus its evdev code); Ctrl reads as Command, Alt as Option, Super as
// Control. The characters are the key's text in `layout`, with Shift and Caps Lock as a person expects;
// for a key the layout table does not know (the keypad), the text of `keyval`. None for a release and
// for a key that only modifies others (Shift, Ctrl, Alt, Super, the lock keys, the group switch).
std::optional<KeyEventRecord> ibusKeyRecord(std::uint32_t keyval, std::uint32_t keycode, std::uint32_t state,
                                            IbusLayout layout);

inline constexpr std::uint16_t kIbusOtherKeyBase = 0x100;

}  // namespace tarvelo::desktop
