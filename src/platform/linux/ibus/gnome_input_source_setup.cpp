// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_input_source_setup.h"

#include <gio/gio.h>

#include "platform/linux/ibus/gnome_input_source_list.h"

namespace tarvelo::desktop {
namespace {

GnomeInputSourceList read(GSettings* settings) {
    GVariant* value = g_settings_get_value(settings, kGnomeInputSourcesKey);
    GnomeInputSourceList sources = inputSourcesFromVariant(value);
    g_variant_unref(value);
    return sources;
}

bool write(GSettings* settings, const GnomeInputSourceList& sources) {
    const bool written = g_settings_set_value(settings, kGnomeInputSourcesKey, inputSourcesToVariant(sources)) != FALSE;
    // Written before the user can quit: a change still on its way to dconf would be lost with the process.
    g_settings_sync();
    return written;
}

}  // namespace

std::unique_ptr<GnomeInputSourceSetup> GnomeInputSourceSetup::open(GSettingsBackend* backend) {
    if (!gnomeInputSourcesAvailable()) return nullptr;
    GSettings* settings = backend != nullptr ? g_settings_new_with_backend(kGnomeInputSourcesSchema, backend)
                                             : g_settings_new(kGnomeInputSourcesSchema);
    return std::unique_ptr<GnomeInputSourceSetup>(new GnomeInputSourceSetup(settings));
}

GnomeInputSourceSetup::~GnomeInputSourceSetup() { g_object_unref(settings_); }

bool GnomeInputSourceSetup::usesTarvelo() const { return listsTarveloEngine(read(settings_)); }

bool GnomeInputSourceSetup::useTarvelo() { return write(settings_, withTarveloEngines(read(settings_))); }

bool GnomeInputSourceSetup::restoreKeyboards() { return write(settings_, withoutTarveloEngines(read(settings_))); }

}  // namespace tarvelo::desktop
