// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/dbus_notification_center.h"

#include <gio/gio.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop_environment.h"

namespace tarvelo::desktop {
namespace {

using testing::iterateUntil;

constexpr const char* kIntrospection = R"(<node>
  <interface name="org.freedesktop.Notifications">
    <method name="GetServerInformation">
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
    </method>
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
    </method>
  </interface>
</node>)";

// A notification server on the session bus that writes down what it is shown.
class RecordingNotificationServer {
public:
    RecordingNotificationServer() {
        bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        node_ = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
        static const GDBusInterfaceVTable vtable{handle, nullptr, nullptr, {}};
        registration_ = g_dbus_connection_register_object(bus_, "/org/freedesktop/Notifications", node_->interfaces[0],
                                                          &vtable, this, nullptr, nullptr);
        owner_ = g_bus_own_name_on_connection(bus_, "org.freedesktop.Notifications", G_BUS_NAME_OWNER_FLAGS_NONE,
                                              onAcquired, nullptr, this, nullptr);
        iterateUntil([this] { return acquired_; });
    }
    ~RecordingNotificationServer() {
        g_bus_unown_name(owner_);
        g_dbus_connection_unregister_object(bus_, registration_);
        g_dbus_node_info_unref(node_);
        g_object_unref(bus_);
    }
    RecordingNotificationServer(const RecordingNotificationServer&) = delete;
    RecordingNotificationServer& operator=(const RecordingNotificationServer&) = delete;

    struct Shown {
        std::string application;
        std::string summary;
        std::string body;
    };
    const std::vector<Shown>& shown() const { return shown_; }
    bool acquired() const { return acquired_; }

private:
    static void onAcquired(GDBusConnection*, const gchar*, gpointer self) {
        static_cast<RecordingNotificationServer*>(self)->acquired_ = true;
    }
    static void handle(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        auto* server = static_cast<RecordingNotificationServer*>(self);
        if (g_strcmp0(method, "GetServerInformation") == 0) {
            g_dbus_method_invocation_return_value(invocation, g_variant_new("(ssss)", "recorder", "tarvelo", "1", "1.2"));
            return;
        }
        const gchar* application = nullptr;
        const gchar* summary = nullptr;
        const gchar* body = nullptr;
        g_variant_get(parameters, "(&su&s&s&s@as@a{sv}i)", &application, nullptr, nullptr, &summary, &body, nullptr,
                      nullptr, nullptr);
        server->shown_.push_back({application, summary, body});
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", 1U));
    }

    GDBusConnection* bus_ = nullptr;
    GDBusNodeInfo* node_ = nullptr;
    guint registration_ = 0;
    guint owner_ = 0;
    bool acquired_ = false;
    std::vector<Shown> shown_;
};

// Whether the bus would start a notification server of the machine's own when asked (Plasma's is there
// wherever KWin's packages are, and cannot start on a headless session: the bus gives up on it late).
bool serverIsActivatable() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) return false;
    GVariant* names = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "ListActivatableNames", nullptr,
                                                  G_VARIANT_TYPE("(as)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    g_object_unref(bus);
    if (names == nullptr) return false;
    bool found = false;
    GVariantIter* iter = nullptr;
    const gchar* name = nullptr;
    g_variant_get(names, "(as)", &iter);
    while (g_variant_iter_next(iter, "&s", &name)) found = found || g_strcmp0(name, "org.freedesktop.Notifications") == 0;
    g_variant_iter_free(iter);
    g_variant_unref(names);
    return found;
}

TEST(DBusNotificationCenter, ShowsNotificationsThroughTheDesktopsServer) {
    TARVELO_REQUIRE_DESKTOP();
    if (!serverIsActivatable()) {
        // No server yet: the request is refused, later and once.
        DBusNotificationCenter center;
        std::optional<bool> answer;
        center.requestAuthorization([&](bool granted) { answer = granted; });
        EXPECT_FALSE(answer);
        ASSERT_TRUE(iterateUntil([&] { return answer.has_value(); }));
        EXPECT_FALSE(*answer);
    }

    RecordingNotificationServer server;
    ASSERT_TRUE(server.acquired());
    DBusNotificationCenter center;
    std::optional<bool> answer;
    center.requestAuthorization([&](bool granted) { answer = granted; });
    ASSERT_TRUE(iterateUntil([&] { return answer.has_value(); }));
    EXPECT_TRUE(*answer);

    center.post({"id-1", "Layout corrected", "The last word was corrected."});
    ASSERT_TRUE(iterateUntil([&] { return server.shown().size() == 1; }));
    EXPECT_EQ(server.shown()[0].application, "Tarvelo");
    EXPECT_EQ(server.shown()[0].summary, "Layout corrected");
    EXPECT_EQ(server.shown()[0].body, "The last word was corrected.");
}

}  // namespace
}  // namespace tarvelo::desktop
