// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_input_source_list.h"

#include <glib.h>

namespace tarvelo::desktop {

GnomeInputSourceList inputSourcesFromVariant(GVariant* value) {
    GnomeInputSourceList sources;
    if (value == nullptr || !g_variant_is_of_type(value, G_VARIANT_TYPE("a(ss)"))) return sources;
    GVariantIter iter;
    g_variant_iter_init(&iter, value);
    const gchar* type = nullptr;
    const gchar* id = nullptr;
    while (g_variant_iter_next(&iter, "(&s&s)", &type, &id)) sources.push_back({type, id});
    return sources;
}

GVariant* inputSourcesToVariant(const GnomeInputSourceList& sources) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a(ss)"));
    for (const GnomeInputSource& source : sources) {
        g_variant_builder_add(&builder, "(ss)", source.type.c_str(), source.id.c_str());
    }
    return g_variant_builder_end(&builder);
}

}  // namespace tarvelo::desktop
