// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/key_chord.h"
#include "support/virtual_keys.h"

namespace tarvelo {

// The values the keyboard monitor takes from one tapped event. Key codes and modifier bits are the
// virtual ones the monitor knows (Space 49, Delete 51, Z 6; Option 0x80000, Command 0x100000,
// Control 0x40000), whatever the desktop's own are.
struct KeyEventRecord {
    static constexpr std::uint32_t kKeyDown = 10;
    static constexpr std::uint32_t kTapDisabledByTimeout = 0xFFFFFFFE;
    static constexpr std::uint32_t kTapDisabledByUserInput = 0xFFFFFFFF;
    // The keyboard focus moved to another field (from a backend that is told, as an input method is):
    // what was being typed does not go on there.
    static constexpr std::uint32_t kFocusMoved = 0xFFFFFFFD;

    std::uint32_t type = kKeyDown;
    std::uint64_t flags = 0;
    std::uint16_t keyCode = 0;
    std::int64_t userData = 0;  // the source user-data field (field 42)
    // The text the focused application inserts for the key (at most 8 UTF-16 code units); none when
    // the key gives no text.
    std::optional<std::string> characters;
};

// What the tap does with an event: hand it on unchanged, or drop it.
enum class TapAnswer { pass, swallow };

// A session-wide tap of key-down events, delivered one at a time on the main thread before the focused
// application gets them. Events the system posted itself come through too, with their user data.
class EventTap {
public:
    using Callback = std::function<TapAnswer(const KeyEventRecord&)>;

    virtual ~EventTap() = default;
    EventTap(const EventTap&) = delete;
    EventTap& operator=(const EventTap&) = delete;

    // Creates the tap, attaches it to the main loop and enables it. False when the tap cannot be made
    // (for example without permission to listen to the keyboard); nothing is installed then.
    virtual bool install(Callback callback) = 0;

    // Enables a tap that the system disabled; does nothing without a tap.
    virtual void enable() = 0;

    // Disables and removes the tap; the callback is not called again. Does nothing without a tap.
    virtual void remove() = 0;

    // Whether Command–Z must be held for the callback's answer, which is so only while a correction can
    // be undone. A tap that holds every key anyway may ignore it; one that must claim a chord in advance
    // claims this one only while it is wanted. Kept across install and remove.
    virtual void setUndoChordWanted(bool wanted) = 0;

    // The shortcuts' chords, which must be held for the callback's answer whenever the tap is installed.
    // A tap that holds every key anyway may ignore them; one that claims chords in advance claims these,
    // and lets go of the ones no longer listed. Kept across install and remove.
    virtual void setChords(const std::vector<KeyChord>& chords) = 0;

    // Whether the tap holds each key until the callback has answered, with the key's text already part
    // of the focused text as the text element shows it, and takes edits made during the callback in
    // order before the key (an input method does). The monitor then decides at the key itself instead
    // of after it has reached the application.
    virtual bool holdsKeys() const { return false; }

protected:
    EventTap() = default;
};

}  // namespace tarvelo
