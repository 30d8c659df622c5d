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

// The list in a settings value of type a(ss); empty for a value of any other type (or none).
GnomeInputSourceList inputSourcesFromVariant(_GVariant* value);

// The a(ss) value of `sources`, floating (a GSettings setter takes it over).
_GVariant* inputSourcesToVariant(const GnomeInputSourceList& sources);

}  // namespace tarvelo::desktop
