// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gio/gio.h>

#include <memory>
#include <string>
#include <utility>

#include "keyboard.h"

namespace tarvelo::wayland::testing {

// Keys through Mutter's remote desktop session (org.gnome.Mutter.RemoteDesktop) on the session bus:
// the keyboard of the GNOME Shell session.
class KeyInjector final : public Keyboard {
public:
    // Opens a remote desktop session and starts it; the first key after the start can be lost, so it
    // presses Escape and waits half a second first. nullptr with the reason in `failure` when the
    // session bus or Mutter cannot be reached.
    static std::unique_ptr<KeyInjector> start(std::string& failure);

    ~KeyInjector() override;

    bool press(unsigned int code) override;
    bool release(unsigned int code) override;

private:
    KeyInjector(GDBusConnection* bus, std::string session) : bus_(bus), session_(std::move(session)) {}

    bool notify(unsigned int code, bool pressed);

    GDBusConnection* bus_;
    std::string session_;
};

}  // namespace tarvelo::wayland::testing
