// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/event_tap.h"
#include "platform/keyboard_events.h"
#include "platform/linux/x11/injected_keys.h"
#include "platform/linux/x11/keyboard_hold.h"
#include "platform/linux/x11/x11_display.h"
#include "platform/linux/x11/xkb_keymap.h"

namespace tarvelo::desktop {

// The key-down tap of the X11 desktop. Every key press reaches the callback once, from XInput 2's raw
// events on the root window, which the server sends whatever client holds the keyboard; those cannot
// be withheld from the focused window. So the chords whose answer matters — the shortcuts' chords given
// to setChords (Alt+Space and Ctrl+Alt+Space until then), and Ctrl+Z while setUndoChordWanted(true) —
// are also grabbed on the root window in synchronous mode:
// the server holds the keyboard until the callback has answered, then drops the chord (swallow) or
// hands it to the focused window (pass).
//
// Records carry virtual key codes: Space 49, Backspace 51, Z 6 and the keys of the shortcuts' chords by
// physical position whatever the group, any other key kOtherKeyBase plus its X key code (so never one
// of those); flags Alt →
// Option, Ctrl → Command, Super → Control, Shift → Shift; characters as the focused application gets
// them (XkbKeymap::text), none for a key without text. Presses the backend posted itself
// (XTestKeyboardEvents, through the shared InjectedKeys) carry kSyntheticEventMarker.
//
// From the press of a grabbed key until the chord's answer has been applied, the shared KeyboardHold
// is held, so that keys posted from the callback wait instead of being frozen with the keyboard. A
// swallowed chord's grab is ended at once (it would otherwise last until the key is released and take
// every key meanwhile, the posted ones included); a passed chord reaches the focused window before
// anything posted from its callback.
//
// A display or keymap of nullptr makes a tap that cannot be installed.
class XInputEventTap final : public EventTap {
public:
    XInputEventTap(X11Display* display, XkbKeymap* keymap, InjectedKeys& injected, KeyboardHold& hold);
    ~XInputEventTap() override;

    // False without a display or without XInput 2.2 and XTest. A chord another program has already
    // grabbed (a window manager's Alt+Space) does not stop the tap: it is listed by unavailableChords().
    bool install(Callback callback) override;
    void enable() override;
    void remove() override;
    void setUndoChordWanted(bool wanted) override;
    void setChords(const std::vector<KeyChord>& chords) override;

    // The chords the last grab could not claim because another program holds them, named as a person
    // presses them ("Alt+Space"); while installed, they reach the focused window whatever the answer.
    std::vector<std::string> unavailableChords() const { return unavailable_; }
    bool isInstalled() const { return installed_; }

    // True while the callback answers a grabbed chord, and for kFocusSettleTime after: the server holds
    // the keyboard for this process then, and the focused application is told it lost focus although
    // the user's focus stays; its focus events catch up a moment later.
    bool isHoldingKeyboard() const;
    static constexpr std::chrono::milliseconds kFocusSettleTime{500};

    static constexpr std::uint16_t kOtherKeyBase = 0x100;

    // One raw key press as the server reports it. Public so that the per-key cost can be measured
    // without the server's share.
    struct RawKeyPress {
        int sourceDevice = 0;
        std::uint32_t keycode = 0;
        unsigned long time = 0;
    };
    void handleRawKeyPress(const RawKeyPress& press);

private:
    struct Answered {
        unsigned long time = 0;
        std::uint32_t keycode = 0;
        TapAnswer answer = TapAnswer::pass;
        bool byGrab = false;
    };

    void handle(_XEvent& event);
    void handleGrabbedPress(std::uint32_t keycode, std::uint32_t modifiers, unsigned long time);
    // Whether the grab's KeyPress for this raw press has arrived or is on its way.
    bool grabbedPressFollows(const RawKeyPress& press);
    KeyEventRecord recordFor(std::uint32_t keycode, std::uint32_t modifiers, bool injected);
    TapAnswer deliver(const KeyEventRecord& record);
    void refreshKeys();
    void grabAll();
    void grabShortcutChords();
    // Whether presses of this key may be grabbed ones that wait for an answer.
    bool isHeldKey(std::uint32_t keycode) const;
    void ungrabAll();
    // Grabs the chord with every lock-modifier variant; false when another program holds it.
    bool grab(std::uint32_t keycode, std::uint32_t modifiers);
    void ungrab(std::uint32_t keycode, std::uint32_t modifiers);
    void grabUndoChord();
    std::vector<std::uint32_t> lockVariants() const;
    // The latest answer for a press with this time and key code, given at the raw event (byGrab false) or
    // at the grab's KeyPress (true); nullptr when there is none.
    Answered* findAnswered(unsigned long time, std::uint32_t keycode, bool byGrab);
    void remember(const Answered& answered);

    X11Display* display_;
    XkbKeymap* keymap_;
    InjectedKeys& injected_;
    KeyboardHold& hold_;
    Callback callback_;
    X11Display::HandlerId handler_ = 0;
    bool installed_ = false;
    bool enabled_ = false;
    bool undoWanted_ = false;
    bool holdingKeyboard_ = false;
    std::chrono::steady_clock::time_point heldUntil_{};
    int xtestDevice_ = -1;
    std::vector<std::string> unavailable_;
    std::vector<KeyChord> chords_;

    // X key codes of the positions the monitor knows, for the keymap revision they were read from.
    std::uint64_t keysRevision_ = 0;
    std::uint32_t spaceKey_ = 0;
    std::uint32_t backspaceKey_ = 0;
    std::uint32_t zKey_ = 0;
    bool keysStale_ = true;
    // The X key codes of the chords' keys, with their virtual key codes.
    struct ChordKey {
        std::uint32_t keycode = 0;
        std::uint16_t virtualKey = 0;
    };
    std::vector<ChordKey> chordKeys_;
    // What is grabbed now, as it was grabbed (the keymap may move a position to another key code).
    struct Grab {
        std::uint32_t keycode = 0;
        std::uint32_t modifiers = 0;
    };
    std::vector<Grab> chordGrabs_;
    std::vector<Grab> undoGrabs_;
    // Grabs the chord with each combination of the `ignored` modifiers added; false when another
    // program holds the chord itself or one of its combinations.
    bool grabChord(std::uint32_t keycode, std::uint32_t modifiers, std::uint32_t ignored, std::vector<Grab>& grabs);

    // The latest presses of grabbable keys with their answers: the raw event and the grab's KeyPress of
    // one press share its time and key code, so the callback is asked once and its answer applied when
    // the grab's event arrives.
    std::array<Answered, 8> answered_{};
    std::size_t nextAnswered_ = 0;
};

}  // namespace tarvelo::desktop
