// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "keyboard.h"

struct wl_display;
struct wl_registry;
struct org_kde_kwin_fake_input;

namespace tarvelo::wayland::testing {

// Keys through KWin's fake-input protocol (org_kde_kwin_fake_input, version 4 for keys): the keyboard
// of the KWin session. KWin offers the interface only to a program that a desktop file in
// $XDG_DATA_HOME/applications names in Exec, with X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input
// (scripts/kde-session writes one for its command). KWin sends fake keys through its own keyboard, so
// fcitx5, KWin's input method, sees them before the focused client, as it would a real keyboard's.
class KwinKeyInjector final : public Keyboard {
public:
    // Connects to WAYLAND_DISPLAY and binds fake input; the first key after the start can be lost, so
    // it presses Escape and waits half a second first. nullptr with the reason in `failure` when the
    // compositor cannot be reached or does not offer the interface to this program.
    static std::unique_ptr<KwinKeyInjector> start(std::string& failure);

    ~KwinKeyInjector() override;

    bool press(unsigned int code) override;
    bool release(unsigned int code) override;

private:
    KwinKeyInjector() = default;

    bool send(unsigned int code, bool pressed);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    org_kde_kwin_fake_input* fakeInput_ = nullptr;
};

}  // namespace tarvelo::wayland::testing
