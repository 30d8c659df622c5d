// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _GSettingsBackend;

namespace tarvelo::desktop {

// GNOME Shell (Mutter) acts on its own key bindings before an input method sees the keys: a chord it
// binds (Alt+Space opens the window menu) never reaches Tarvelo's engine, and would do nothing as one
// of Tarvelo's shortcuts.

// Whether XDG_CURRENT_DESKTOP's colon-separated list ("ubuntu:GNOME") names GNOME.
bool isGnomeDesktop(std::string_view currentDesktop);

// The chord a GSettings accelerator names ("<Alt>space", "<Primary><Shift>space", "<Super>a"), named as
// key_chord::format names it ("Alt+Space", "Ctrl+Shift+Space", "Super+A"); none for a key no shortcut of
// Tarvelo's may use, a modifier it does not know, or a binding that is off ("", "disabled").
std::optional<std::string> chordOfAccelerator(std::string_view accelerator);

// The chords GNOME Shell binds now, among those Tarvelo's shortcuts may use, from the key-binding
// settings of the window manager, Mutter and the shell (those installed, read through `backend`, the
// session's own when null); empty where `currentDesktop` (as XDG_CURRENT_DESKTOP lists them) is not GNOME.
std::vector<std::string> gnomeShellBoundChords(std::string_view currentDesktop, _GSettingsBackend* backend = nullptr);

}  // namespace tarvelo::desktop
