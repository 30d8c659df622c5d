// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_shell_input_sources.h"

#include <gio/gio.h>
#include <ibus.h>

#include "platform/linux/ibus/gnome_input_source_list.h"

namespace tarvelo::desktop {

std::unique_ptr<GnomeShellInputSources> GnomeShellInputSources::open(IBusBus* bus) {
    if (bus == nullptr || !gnomeInputSourcesAvailable()) return nullptr;
    return std::unique_ptr<GnomeShellInputSources>(
        new GnomeShellInputSources(bus, g_settings_new(kGnomeInputSourcesSchema)));
}

GnomeShellInputSources::GnomeShellInputSources(IBusBus* bus, GSettings* settings)
    : bus_(static_cast<IBusBus*>(g_object_ref(bus))),
      settings_(settings, g_object_unref),
      switch_(
          scheduler_,
          [this] {
              GVariant* value = g_settings_get_value(settings_.get(), kGnomeInputSourcesKey);
              GnomeInputSourceList sources = inputSourcesFromVariant(value);
              g_variant_unref(value);
              return sources;
          },
          [this](const GnomeInputSourceList& sources) {
              return g_settings_set_value(settings_.get(), kGnomeInputSourcesKey, inputSourcesToVariant(sources)) != FALSE;
          }) {
    // The daemon tells of engine changes only to connections that ask.
    ibus_bus_set_watch_ibus_signal(bus_, TRUE);
    g_signal_connect(bus_, "global-engine-changed", G_CALLBACK(+[](IBusBus*, const gchar* name, gpointer data) {
                         if (name != nullptr) static_cast<GnomeShellInputSources*>(data)->switch_.engineChanged(name);
                     }),
                     this);
}

GnomeShellInputSources::~GnomeShellInputSources() {
    g_signal_handlers_disconnect_by_data(bus_, this);
    g_object_unref(bus_);
    switch_.finish();
    // A write still on its way to dconf would be lost with the process.
    g_settings_sync();
}

bool GnomeShellInputSources::select(const std::string& engine) { return switch_.select(engine); }

}  // namespace tarvelo::desktop
