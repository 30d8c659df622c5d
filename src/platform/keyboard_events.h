// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace tarvelo {

// The value that every keyboard event the system posts carries in its source user-data field, so that
// its own keyboard monitor lets the event pass: the ASCII letters "BRINM", first letter most significant.
inline constexpr std::int64_t kSyntheticEventMarker = 0x4252494E4D;

// One synthesised key event.
struct KeyboardEvent {
    std::uint16_t keyCode = 0;  // a virtual key code: 51 Backspace, 0 the carrier of typed text
    bool keyDown = true;
    std::int64_t userData = 0;    // the source user-data field (field 42)
    std::u16string unicodeString;  // replaces the key's own character when not empty
};

// Posts keyboard events at the hardware level, ahead of every event tap (the system's own included),
// without modifier flags. Called on the main thread.
class KeyboardEvents {
public:
    virtual ~KeyboardEvents() = default;
    KeyboardEvents(const KeyboardEvents&) = delete;
    KeyboardEvents& operator=(const KeyboardEvents&) = delete;

    // False when the event could not be created; nothing is posted then. Posting itself reports nothing:
    // the event is processed later, after the call has returned.
    virtual bool post(const KeyboardEvent& event) = 0;

protected:
    KeyboardEvents() = default;
};

}  // namespace tarvelo
