// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_availability.h"

#include <gio/gio.h>

#include "platform/linux/atspi/atspi_connection.h"
#include "platform/linux/atspi/atspi_handles.h"

namespace tarvelo::desktop {
namespace {

using namespace atspi_handles;

constexpr const char* kBusName = "org.a11y.Bus";
constexpr const char* kBusPath = "/org/a11y/bus";
constexpr const char* kStatusInterface = "org.a11y.Status";
constexpr const char* kEnabledProperty = "IsEnabled";

ObjectPtr<GDBusConnection> sessionBus() {
    ErrorSlot error;
    return ObjectPtr<GDBusConnection>(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, error.out()));
}

}  // namespace

bool AtspiAvailability::isAvailable() {
    if (!atspi_connection::ensureConnected()) return false;
    const AccessiblePtr desktop(atspi_get_desktop(0));
    if (desktop == nullptr) return false;
    // The desktop object is local; its child count is a request to the registry.
    ErrorSlot error;
    const gint count = atspi_accessible_get_child_count(desktop.get(), error.out());
    return !error.failed() && count >= 0;
}

bool AtspiAvailability::requestAccessibility() {
    const ObjectPtr<GDBusConnection> bus = sessionBus();
    if (bus == nullptr) return false;
    ErrorSlot error;
    const VariantPtr reply(g_dbus_connection_call_sync(
        bus.get(), kBusName, kBusPath, "org.freedesktop.DBus.Properties", "Set",
        g_variant_new("(ssv)", kStatusInterface, kEnabledProperty, g_variant_new_boolean(TRUE)), nullptr,
        G_DBUS_CALL_FLAGS_NONE, atspi_connection::kRequestTimeout, nullptr, error.out()));
    return reply != nullptr && !error.failed();
}

bool AtspiAvailability::isEnabledForApplications() {
    const ObjectPtr<GDBusConnection> bus = sessionBus();
    if (bus == nullptr) return false;
    ErrorSlot error;
    const VariantPtr reply(g_dbus_connection_call_sync(
        bus.get(), kBusName, kBusPath, "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", kStatusInterface, kEnabledProperty), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE,
        atspi_connection::kRequestTimeout, nullptr, error.out()));
    if (reply == nullptr) return false;
    GVariant* boxed = nullptr;
    g_variant_get(reply.get(), "(v)", &boxed);
    const VariantPtr value(boxed);
    return value != nullptr && g_variant_is_of_type(value.get(), G_VARIANT_TYPE_BOOLEAN) &&
           g_variant_get_boolean(value.get()) != FALSE;
}

}  // namespace tarvelo::desktop
