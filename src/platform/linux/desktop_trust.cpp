// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/desktop_trust.h"

#include <glib.h>

#include <memory>

namespace tarvelo::desktop {
namespace {

// The accessibility settings of the desktops that have a page for them, tried in order.
struct SettingsPage {
    const char* program;
    const char* argument;
};
constexpr SettingsPage kAccessibilitySettings[] = {
    {"gnome-control-center", "universal-access"},
    {"systemsettings", "kcm_access"},
    {"xfce4-accessibility-settings", nullptr},
};

void openAccessibilitySettings() {
    for (const SettingsPage& page : kAccessibilitySettings) {
        std::unique_ptr<gchar, decltype(&g_free)> path(g_find_program_in_path(page.program), g_free);
        if (!path) continue;
        gchar* argv[] = {path.get(), const_cast<gchar*>(page.argument), nullptr};
        GError* error = nullptr;
        if (g_spawn_async(nullptr, argv, nullptr, G_SPAWN_STDIN_FROM_DEV_NULL, nullptr, nullptr, nullptr, &error)) return;
        g_error_free(error);
    }
}

}  // namespace

void DesktopTrust::promptForAccessibility() {
    accessibility_.requestAccessibility();
    openAccessibilitySettings();
}

}  // namespace tarvelo::desktop
