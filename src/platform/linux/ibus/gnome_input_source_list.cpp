// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_input_source_list.h"

#include <gio/gio.h>

#include <algorithm>
#include <cstdlib>

#include "platform/linux/ibus/gnome_shell_keybindings.h"
#include "platform/linux/ibus/ibus_backend.h"

namespace tarvelo::desktop {
namespace {

constexpr InputMethodLayout kLayouts[] = {InputMethodLayout::us, InputMethodLayout::ru};

GnomeInputSource keyboardOf(InputMethodLayout layout) { return {"xkb", inputMethodLayoutName(layout)}; }
GnomeInputSource engineOf(InputMethodLayout layout) { return {"ibus", ibusEngineName(layout)}; }

// `to` where the first of `from` and `to` stands, and neither of them elsewhere; `to` after the others
// where neither is there and `addMissing`.
GnomeInputSourceList replaced(const GnomeInputSourceList& sources, const GnomeInputSource& from,
                              const GnomeInputSource& to, bool addMissing) {
    GnomeInputSourceList result;
    bool placed = false;
    for (const GnomeInputSource& source : sources) {
        if (!(source == from) && !(source == to)) {
            result.push_back(source);
        } else if (!placed) {
            result.push_back(to);
            placed = true;
        }
    }
    if (!placed && addMissing) result.push_back(to);
    return result;
}

}  // namespace

bool gnomeInputSourcesAvailable() {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    if (desktops == nullptr || !isGnomeDesktop(desktops)) return false;
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, kGnomeInputSourcesSchema, TRUE);
    if (schema == nullptr) return false;
    const bool hasKey = g_settings_schema_has_key(schema, kGnomeInputSourcesKey) != FALSE;
    g_settings_schema_unref(schema);
    return hasKey;
}

GnomeInputSourceList withTarveloEngines(const GnomeInputSourceList& sources) {
    GnomeInputSourceList result = sources;
    for (const InputMethodLayout layout : kLayouts) result = replaced(result, keyboardOf(layout), engineOf(layout), true);
    return result;
}

GnomeInputSourceList withoutTarveloEngines(const GnomeInputSourceList& sources) {
    GnomeInputSourceList result = sources;
    for (const InputMethodLayout layout : kLayouts) result = replaced(result, engineOf(layout), keyboardOf(layout), false);
    return result;
}

bool listsTarveloEngine(const GnomeInputSourceList& sources) {
    return std::any_of(sources.begin(), sources.end(), [](const GnomeInputSource& source) {
        return source.type == "ibus" && ibusLayoutOfEngine(source.id).has_value();
    });
}

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
