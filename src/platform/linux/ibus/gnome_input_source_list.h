// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

struct _GVariant;

namespace tarvelo::desktop {

// One of GNOME's input sources as org.gnome.desktop.input-sources lists them: a type ("xkb" or "ibus")
// and an identifier within it ("us", "tarvelo-ru").
struct GnomeInputSource {
    std::string type;
    std::string id;

    friend bool operator==(const GnomeInputSource&, const GnomeInputSource&) = default;
};

using GnomeInputSourceList = std::vector<GnomeInputSource>;

// Where GNOME keeps the list, which GNOME Shell follows.
inline constexpr const char* kGnomeInputSourcesSchema = "org.gnome.desktop.input-sources";
inline constexpr const char* kGnomeInputSourcesKey = "sources";

// Whether this is a GNOME session (XDG_CURRENT_DESKTOP) whose settings have the list.
bool gnomeInputSourcesAvailable();

// The user's list with Tarvelo's engines in place of the English (US) and Russian keyboards (xkb "us"
// and "ru"): each engine where its keyboard stood, or after the other sources where there was none.
// The other sources keep their order.
GnomeInputSourceList withTarveloEngines(const GnomeInputSourceList& sources);
// The list with the English (US) and Russian keyboards back where Tarvelo's engines stand.
GnomeInputSourceList withoutTarveloEngines(const GnomeInputSourceList& sources);
// Whether the list holds one of Tarvelo's engines.
bool listsTarveloEngine(const GnomeInputSourceList& sources);

// The list in a settings value of type a(ss); empty for a value of any other type (or none).
GnomeInputSourceList inputSourcesFromVariant(_GVariant* value);

// The a(ss) value of `sources`, floating (a GSettings setter takes it over).
_GVariant* inputSourcesToVariant(const GnomeInputSourceList& sources);

}  // namespace tarvelo::desktop
