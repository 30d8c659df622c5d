// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include <glib.h>

namespace tarvelo::desktop::testing {

// The x11_key_window program (tests/desktop/apps), started for one test and ended with it: a window
// without accessibility that keeps the text its keys give. Read through the test's own connection.
class KeyWindow {
public:
    // Starts the program and waits until its window is mapped and has the input focus; nullptr when
    // that does not happen within a few seconds.
    static std::unique_ptr<KeyWindow> start(Display* display);
    ~KeyWindow();
    KeyWindow(const KeyWindow&) = delete;
    KeyWindow& operator=(const KeyWindow&) = delete;

    Window window() const { return window_; }
    // Gives the window the input focus again and waits until it has it.
    bool focus();

    // What the window received: its text, its chords ("alt+space\n" per press), every press of a key
    // other than a modifier with the modifiers it came with ("BackSpace\n", "shift+М\n"), and the
    // number of key presses.
    std::string text() const;
    std::string chords() const;
    std::string keys() const;
    long presses() const;

    // Lets the main loop run until the window's text is `expected`; answers whether it became so.
    bool waitForText(const std::string& expected, double seconds = 5.0) const;

private:
    KeyWindow(Display* display, GPid pid) : display_(display), pid_(pid) {}
    std::string property(const char* name) const;

    Display* display_;
    GPid pid_;
    Window window_ = 0;
};

}  // namespace tarvelo::desktop::testing
