// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_shell_keybindings.h"

#include <gio/gio.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "support/key_chord.h"

namespace tarvelo::desktop {
namespace {

// The schemas whose bindings Mutter and GNOME Shell act on themselves.
constexpr const char* kSchemas[] = {"org.gnome.desktop.wm.keybindings", "org.gnome.mutter.keybindings",
                                    "org.gnome.mutter.wayland.keybindings", "org.gnome.shell.keybindings"};

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::optional<std::string> modifierName(std::string_view name) {
    const std::string lower = lowered(name);
    if (lower == "control" || lower == "ctrl" || lower == "primary") return "Ctrl";
    if (lower == "alt" || lower == "mod1") return "Alt";
    if (lower == "shift") return "Shift";
    if (lower == "super" || lower == "mod4") return "Super";
    return std::nullopt;
}

}  // namespace

bool isGnomeDesktop(std::string_view names) {
    while (!names.empty()) {
        const std::size_t colon = std::min(names.find(':'), names.size());
        if (lowered(names.substr(0, colon)) == "gnome") return true;
        names.remove_prefix(std::min(colon + 1, names.size()));
    }
    return false;
}

std::optional<std::string> chordOfAccelerator(std::string_view accelerator) {
    std::vector<std::string> parts;
    std::string_view rest = accelerator;
    while (!rest.empty() && rest.front() == '<') {
        const std::size_t end = rest.find('>');
        if (end == std::string_view::npos) return std::nullopt;
        const std::optional<std::string> modifier = modifierName(rest.substr(1, end - 1));
        if (!modifier) return std::nullopt;
        parts.push_back(*modifier);
        rest.remove_prefix(end + 1);
    }
    if (rest.empty() || lowered(rest) == "disabled") return std::nullopt;
    // key_chord names keys as "Space", "A", "7", "F5"; GSettings as "space", "a", "7", "F5".
    const std::optional<KeyChord> chord = key_chord::fromParts([&] {
        parts.emplace_back(rest);
        return parts;
    }());
    if (!chord) return std::nullopt;
    return key_chord::format(*chord);
}

std::vector<std::string> gnomeShellBoundChords(std::string_view currentDesktop, GSettingsBackend* backend) {
    std::vector<std::string> chords;
    if (!isGnomeDesktop(currentDesktop)) return chords;
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) return chords;
    for (const char* id : kSchemas) {
        std::unique_ptr<GSettingsSchema, decltype(&g_settings_schema_unref)> schema(
            g_settings_schema_source_lookup(source, id, TRUE), g_settings_schema_unref);
        if (schema == nullptr) continue;
        std::unique_ptr<GSettings, decltype(&g_object_unref)> settings(
            g_settings_new_full(schema.get(), backend, nullptr), g_object_unref);
        std::unique_ptr<gchar*, decltype(&g_strfreev)> keys(g_settings_schema_list_keys(schema.get()), g_strfreev);
        for (gchar** key = keys.get(); *key != nullptr; ++key) {
            std::unique_ptr<GVariant, decltype(&g_variant_unref)> value(g_settings_get_value(settings.get(), *key),
                                                                         g_variant_unref);
            if (!g_variant_is_of_type(value.get(), G_VARIANT_TYPE_STRING_ARRAY)) continue;
            gsize count = 0;
            std::unique_ptr<const gchar*, decltype(&g_free)> accelerators(g_variant_get_strv(value.get(), &count),
                                                                          g_free);
            for (gsize i = 0; i < count; ++i) {
                const std::optional<std::string> chord = chordOfAccelerator(accelerators.get()[i]);
                if (chord && std::find(chords.begin(), chords.end(), *chord) == chords.end()) chords.push_back(*chord);
            }
        }
    }
    return chords;
}

}  // namespace tarvelo::desktop
