// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/keyboard_events.h"
#include "platform/linux/x11/injected_keys.h"
#include "platform/linux/x11/keyboard_hold.h"
#include "platform/linux/x11/x11_display.h"
#include "platform/linux/x11/xkb_keymap.h"

namespace tarvelo::desktop {

// Posts keys through XTest, as the keyboard would type them, and notes every press in the InjectedKeys
// it shares with the tap so that the tap marks them as the system's own.
//
// Backspace (key code 51) is the key at the BKSP position. A key-down with a string types its
// characters one after the other: a character the current group has is typed on its key (with Shift
// pressed through XTest around it when its level needs Shift); any other one on a spare key code (one
// without symbols) lent to the character's keysym for the moment. A key-up with a string posts
// nothing: each character's key is released right after its press.
//
// Posted keys arrive without modifiers and whole: before each key-down, every key that is down is
// released through XTest, and none is pressed again afterwards. That lifts the user's Shift, Ctrl,
// Alt, Super and AltGr (whichever device holds them: the server applies a release to the core
// keyboard's state although the XTEST device never pressed the key), and the chord's own key too: a
// Space still held by the user would make the server drop the posted Space. A held Caps Lock or Num
// Lock is left locked or unlocked as the user's own release would leave it. The user who pressed
// Ctrl+Alt+Space is usually letting go by the time the correction is typed, and a key pressed again
// after that release would stay down with nothing to lift it; the user's own release of a key already
// up is dropped by the server. The price: a modifier still held after the correction must be pressed
// again to count, and a key held down stops repeating.
//
// While the tap holds the keyboard for a chord (the shared KeyboardHold), post() keeps the event and
// answers true; the events are posted, in order, once the tap has freed the keyboard, and a press is
// noted in InjectedKeys when it is actually posted. Events still waiting when this object goes are
// dropped.
//
// Lent key codes stay lent for kRestoreDelay after their last use and are then given back (on GLib's
// default main context, or when this object is destroyed): an application reads the changed map some
// time after the change is announced, and must still find the character there. A lent key code is lent
// to another character only after kSettleTime since its last press, for the same reason.
//
// post() answers false, and posts nothing more of that event, when the server reports an error, no
// display or keymap was given, the event is neither Backspace nor text, or the keymap has no spare key
// code at all. For an event that waits, the errors of its posting come too late to answer: that event
// and the ones waiting after it are dropped.
class XTestKeyboardEvents final : public KeyboardEvents {
public:
    XTestKeyboardEvents(X11Display* display, XkbKeymap* keymap, InjectedKeys& injected, KeyboardHold& hold);
    ~XTestKeyboardEvents() override;

    bool post(const KeyboardEvent& event) override;

    // The least time between two changes of the keyboard map, the only pause typing makes. An Xlib
    // program still reading one change when the next arrives can miss the second for good: that key
    // then types nothing there until the map changes again. Under Xvfb, typing "привет " on freshly
    // lent keys lost 3 of 120 characters in an Xlib window with no gap, and none of 360 in Xlib, GTK 3
    // and Qt 6 windows with 1 ms or 3 ms; 3 ms leaves room for a busier application. A word's first
    // typing costs one gap per newly lent character, typing it again within kRestoreDelay none.
    static constexpr std::chrono::microseconds kMappingGap{3000};
    // How long after a lent key's last press an application may still look its keysym up: the key is
    // not lent to another character sooner.
    static constexpr std::chrono::milliseconds kSettleTime{20};
    // How long a lent key code keeps its character after its last press; typing the same characters
    // again soon after (the next correction) then changes no map at all.
    static constexpr std::chrono::milliseconds kRestoreDelay{1000};

private:
    using Clock = std::chrono::steady_clock;
    struct Spare {
        std::uint32_t keycode = 0;
        char32_t character = 0;  // 0 while not lent
        Clock::time_point lastUse{};
    };

    bool send(const KeyboardEvent& event);
    void releaseHeldKeys();
    bool type(char32_t character);
    bool typeOnKey(std::uint32_t keycode, bool shift);
    bool fake(std::uint32_t keycode, bool down);
    std::optional<std::uint32_t> lend(char32_t character);
    bool changeMapping(std::uint32_t keycode, unsigned long (&keysyms)[2]);
    static void waitSince(Clock::time_point since, std::chrono::microseconds gap);
    void findSpares();
    void scheduleRestore(std::chrono::milliseconds delay);
    void restoreNext();
    void restoreAll();
    std::vector<std::uint32_t> spareKeycodes() const;

    X11Display* display_;
    XkbKeymap* keymap_;
    InjectedKeys& injected_;
    KeyboardHold& hold_;
    std::vector<Spare> spares_;
    bool sparesFound_ = false;
    unsigned int restoreSource_ = 0;
    Clock::time_point lastMappingChange_{};
    // The first half of a surrogate pair that ended the previous string: text is cut into events by
    // count alone, so a pair can span two of them.
    char16_t pendingHighSurrogate_ = 0;
};

}  // namespace tarvelo::desktop
