// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace tarvelo {

// Virtual key codes name physical key positions, the same under every layout.
namespace virtual_key {
inline constexpr std::uint16_t kSpace = 49;
inline constexpr std::uint16_t kDelete = 51;  // Backspace
inline constexpr std::uint16_t kZ = 6;
}  // namespace virtual_key

// The modifier bits of a key event's flags.
namespace modifier_flag {
inline constexpr std::uint64_t kShift = 0x20000;
inline constexpr std::uint64_t kControl = 0x40000;
inline constexpr std::uint64_t kOption = 0x80000;
inline constexpr std::uint64_t kCommand = 0x100000;
}  // namespace modifier_flag

}  // namespace tarvelo
