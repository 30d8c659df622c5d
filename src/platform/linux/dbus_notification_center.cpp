// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/dbus_notification_center.h"

#include <gio/gio.h>

#include <string>
#include <utility>

#include "build_info.h"

namespace tarvelo::desktop {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr int kCallTimeoutMs = 5000;

struct AuthorizationCall {
    NotificationCenter::AuthorizationCompletion completion;
};

void answerAuthorization(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<AuthorizationCall> call(static_cast<AuthorizationCall*>(data));
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    const bool granted = reply != nullptr;
    if (reply != nullptr) g_variant_unref(reply);
    if (error != nullptr) g_error_free(error);
    call->completion(granted);
}

}  // namespace

// The session bus, or none when there is no session bus to talk to.
struct DBusNotificationCenter::Connection {
    GDBusConnection* bus = nullptr;
    ~Connection() {
        if (bus != nullptr) g_object_unref(bus);
    }
};

DBusNotificationCenter::DBusNotificationCenter() : connection_(std::make_unique<Connection>()) {
    GError* error = nullptr;
    connection_->bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (error != nullptr) g_error_free(error);
}

DBusNotificationCenter::~DBusNotificationCenter() = default;

void DBusNotificationCenter::requestAuthorization(AuthorizationCompletion completion) {
    if (connection_->bus == nullptr) {
        // Still later, never inside the call, as a reply would be.
        auto* call = new AuthorizationCall{std::move(completion)};
        g_idle_add_full(
            G_PRIORITY_DEFAULT,
            [](gpointer data) -> gboolean {
                std::unique_ptr<AuthorizationCall> pending(static_cast<AuthorizationCall*>(data));
                pending->completion(false);
                return G_SOURCE_REMOVE;
            },
            call, nullptr);
        return;
    }
    g_dbus_connection_call(connection_->bus, kService, kPath, kInterface, "GetServerInformation", nullptr,
                           G_VARIANT_TYPE("(ssss)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr,
                           answerAuthorization, new AuthorizationCall{std::move(completion)});
}

void DBusNotificationCenter::post(const UserNotification& notification) {
    if (connection_->bus == nullptr) return;
    GVariantBuilder actions;
    g_variant_builder_init(&actions, G_VARIANT_TYPE("as"));
    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    // No sound of the server's own: the sound is a separate preference.
    g_variant_builder_add(&hints, "{sv}", "suppress-sound", g_variant_new_boolean(TRUE));
    // The installed desktop entry and icon, so that the desktop lists the notification under Tarvelo.
    const std::string applicationId(build::applicationId);
    g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string(applicationId.c_str()));
    GVariant* parameters = g_variant_new("(susssasa{sv}i)", "Tarvelo", 0U, applicationId.c_str(),
                                         notification.title.c_str(), notification.body.c_str(), &actions, &hints, -1);
    // The outcome is not looked at.
    g_dbus_connection_call(connection_->bus, kService, kPath, kInterface, "Notify", parameters, nullptr,
                           G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, nullptr, nullptr);
}

}  // namespace tarvelo::desktop
