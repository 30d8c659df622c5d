// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/fcitx5/fcitx5_backend.h"

#include <gio/gio.h>

#include <algorithm>
#include <functional>
#include <string_view>

#include "platform/linux/fcitx5/fcitx5_protocol.h"

namespace tarvelo::desktop {
namespace {

constexpr char kIntrospection[] = R"xml(<node>
  <interface name="dev.brinmoor.Tarvelo.Fcitx5">
    <method name="ProcessKey">
      <arg direction="in" type="t" name="client"/>
      <arg direction="in" type="s" name="inputMethod"/>
      <arg direction="in" type="u" name="keysym"/>
      <arg direction="in" type="u" name="evdevCode"/>
      <arg direction="in" type="u" name="state"/>
      <arg direction="in" type="b" name="release"/>
      <arg direction="in" type="b" name="secret"/>
      <arg direction="in" type="b" name="offersText"/>
      <arg direction="in" type="b" name="textChanged"/>
      <arg direction="in" type="s" name="text"/>
      <arg direction="in" type="u" name="cursor"/>
      <arg direction="in" type="u" name="anchor"/>
      <arg direction="in" type="s" name="frontend"/>
      <arg direction="out" type="b" name="handled"/>
      <arg direction="out" type="a(us)" name="edits"/>
      <arg direction="out" type="s" name="select"/>
    </method>
    <method name="FocusIn">
      <arg direction="in" type="t" name="client"/>
      <arg direction="in" type="s" name="inputMethod"/>
    </method>
    <method name="FocusOut"><arg direction="in" type="t" name="client"/></method>
    <method name="Reset"><arg direction="in" type="t" name="client"/></method>
    <method name="Forget"><arg direction="in" type="t" name="client"/></method>
    <method name="Missed"><arg direction="in" type="t" name="client"/></method>
    <signal name="Edits">
      <arg type="t" name="client"/>
      <arg type="a(us)" name="edits"/>
    </signal>
    <signal name="Select">
      <arg type="t" name="client"/>
      <arg type="s" name="inputMethod"/>
    </signal>
  </interface>
</node>)xml";

// The clients' count is bounded even if a module never says a client is gone.
constexpr std::size_t kMostClients = 512;

std::optional<InputMethodLayout> layoutOfInputMethod(std::string_view name) {
    if (name == "keyboard-us") return InputMethodLayout::us;
    if (name == "keyboard-ru") return InputMethodLayout::ru;
    return std::nullopt;
}

const char* inputMethodOf(KeyboardLayout layout) {
    return layout == KeyboardLayout::russian ? "keyboard-ru" : "keyboard-us";
}

// The edits of one client, as the protocol's list: "delete N before the cursor, then commit a text".
class RecordedEdits final : public InputMethodClientEdits {
public:
    RecordedEdits(std::function<void()> outsideCall, const std::function<bool()>& misreadsDeletion)
        : outsideCall_(std::move(outsideCall)), misreadsDeletion_(misreadsDeletion) {}

    // Through the compositor's text input fcitx5 turns the count into bytes, and a client that reads
    // them as characters (GTK 4 before 4.14) would take more than the characters asked for, or fewer,
    // wherever one of them is longer than a byte: such an edit is not made.
    bool canDelete(std::u32string_view characters) const override {
        if (!viaCompositor_) return true;
        const bool ascii = std::all_of(characters.begin(), characters.end(), [](char32_t c) { return c < 0x80; });
        return ascii || !(misreadsDeletion_ && misreadsDeletion_());
    }
    void setFrontend(std::string_view frontend) { viaCompositor_ = frontend.starts_with("wayland"); }

    // fcitx5 counts a deletion in characters on every frontend.
    void deleteBeforeCaret(std::size_t characters, std::optional<std::size_t>) override {
        if (characters == 0) return;
        edits_.emplace_back(static_cast<std::uint32_t>(characters), std::string());
        if (!recording_) outsideCall_();
    }
    void commit(std::string_view text) override {
        if (text.empty()) return;
        if (!edits_.empty() && edits_.back().second.empty()) {
            edits_.back().second = text;
        } else {
            edits_.emplace_back(0, std::string(text));
        }
        if (!recording_) outsideCall_();
    }

    void setRecording(bool recording) { recording_ = recording; }
    bool hasEdits() const { return !edits_.empty(); }
    // The edits so far, as a GVariant of type a(us); the list is emptied.
    GVariant* take() {
        GVariantBuilder builder;
        g_variant_builder_init(&builder, G_VARIANT_TYPE("a(us)"));
        for (const auto& [count, text] : edits_) g_variant_builder_add(&builder, "(us)", count, text.c_str());
        edits_.clear();
        return g_variant_builder_end(&builder);
    }

private:
    std::function<void()> outsideCall_;
    const std::function<bool()>& misreadsDeletion_;
    bool viaCompositor_ = false;
    std::vector<std::pair<std::uint32_t, std::string>> edits_;
    bool recording_ = false;
};

GDBusNodeInfo* introspection() {
    static GDBusNodeInfo* info = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
    return info;
}

void methodCall(GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar* method,
                GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
    static_cast<Fcitx5Backend*>(data)->handleCall(sender, method, parameters, invocation);
}

const GDBusInterfaceVTable kVTable = {methodCall, nullptr, nullptr, {}};

}  // namespace

struct Fcitx5Backend::Client {
    Client(std::function<void()> outsideCall, const std::function<bool()>& misreadsDeletion)
        : edits(std::move(outsideCall), misreadsDeletion), client(edits) {}
    RecordedEdits edits;
    InputMethodClient client;
    // Used last in this call's order, for the bound on the clients' count.
    std::uint64_t used = 0;
};

Fcitx5Backend::Fcitx5Backend() {
    connection_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (connection_ == nullptr || introspection() == nullptr) return;
    registration_ = g_dbus_connection_register_object(connection_, kFcitx5ObjectPath, introspection()->interfaces[0],
                                                      &kVTable, this, nullptr, nullptr);
    if (registration_ == 0) return;
    ownerId_ = g_bus_own_name_on_connection(
        connection_, kFcitx5BusName, G_BUS_NAME_OWNER_FLAGS_NONE,
        +[](GDBusConnection*, const gchar*, gpointer data) { static_cast<Fcitx5Backend*>(data)->nameOwned(true); },
        +[](GDBusConnection*, const gchar*, gpointer data) { static_cast<Fcitx5Backend*>(data)->nameOwned(false); },
        this, nullptr);
}

Fcitx5Backend::~Fcitx5Backend() {
    if (flushSource_ != 0) g_source_remove(flushSource_);
    for (const auto& [sender, watch] : senderWatches_) g_bus_unwatch_name(watch);
    if (ownerId_ != 0) g_bus_unown_name(ownerId_);
    if (registration_ != 0) g_dbus_connection_unregister_object(connection_, registration_);
    if (connection_ != nullptr) g_object_unref(connection_);
}

bool Fcitx5Backend::isFcitx5Running() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) return false;
    bool running = false;
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner",
                                                  g_variant_new("(s)", "org.fcitx.Fcitx5"), G_VARIANT_TYPE("(b)"),
                                                  G_DBUS_CALL_FLAGS_NONE, 500, nullptr, nullptr);
    if (reply != nullptr) {
        gboolean owned = FALSE;
        g_variant_get(reply, "(b)", &owned);
        running = owned != FALSE;
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    return running;
}

bool Fcitx5Backend::selectKeyboardLayout(KeyboardLayout layout) {
    if (inCall_) {
        select_ = inputMethodOf(layout);
        return true;
    }
    // After the key (a correction is confirmed once its key has gone): fcitx5 is told on its own.
    if (!focused_ || !clients_.contains(*focused_)) return false;
    g_dbus_connection_emit_signal(connection_, focused_->first.c_str(), kFcitx5ObjectPath, kFcitx5Interface, "Select",
                                  g_variant_new("(ts)", static_cast<guint64>(focused_->second), inputMethodOf(layout)),
                                  nullptr);
    return true;
}

Fcitx5Backend::Client& Fcitx5Backend::client(const std::string& sender, std::uint64_t id) {
    const ClientKey key{sender, id};
    auto found = clients_.find(key);
    if (found == clients_.end()) {
        if (clients_.size() >= kMostClients) {
            auto oldest = clients_.begin();
            for (auto it = clients_.begin(); it != clients_.end(); ++it) {
                if (it->second->used < oldest->second->used) oldest = it;
            }
            forget(oldest->first);
        }
        auto made = std::make_unique<Client>([this, key] { outsideEdit(key); }, misreadsDeletion_);
        found = clients_.emplace(key, std::move(made)).first;
        if (!senderWatches_.contains(sender)) {
            struct Watch {
                Fcitx5Backend* backend;
                std::string sender;
            };
            senderWatches_[sender] = g_bus_watch_name_on_connection(
                connection_, sender.c_str(), G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
                +[](GDBusConnection*, const gchar*, gpointer data) {
                    const auto* watch = static_cast<Watch*>(data);
                    watch->backend->senderVanished(watch->sender);
                },
                new Watch{this, sender}, +[](gpointer data) { delete static_cast<Watch*>(data); });
        }
    }
    found->second->used = ++uses_;
    return *found->second;
}

void Fcitx5Backend::forget(const ClientKey& key) {
    const auto found = clients_.find(key);
    if (found == clients_.end()) return;
    destroyed(found->second->client);
    clients_.erase(found);
}

void Fcitx5Backend::senderVanished(const std::string& sender) {
    for (auto it = clients_.begin(); it != clients_.end();) {
        if (it->first.first == sender) {
            destroyed(it->second->client);
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
    if (const auto watch = senderWatches_.find(sender); watch != senderWatches_.end()) {
        // The watch's own data goes with it, after this callback has returned.
        g_bus_unwatch_name(watch->second);
        senderWatches_.erase(watch);
    }
}

void Fcitx5Backend::outsideEdit(const ClientKey& key) {
    if (std::find(editedOutside_.begin(), editedOutside_.end(), key) == editedOutside_.end()) {
        editedOutside_.push_back(key);
    }
    if (flushSource_ != 0) return;
    flushSource_ = g_idle_add(
        +[](gpointer data) {
            auto* backend = static_cast<Fcitx5Backend*>(data);
            backend->flushSource_ = 0;
            backend->flushOutsideEdits();
            return G_SOURCE_REMOVE;
        },
        this);
}

void Fcitx5Backend::flushOutsideEdits() {
    for (const ClientKey& key : std::exchange(editedOutside_, {})) {
        const auto found = clients_.find(key);
        // A key's answer may have carried them already.
        if (found == clients_.end() || !found->second->edits.hasEdits()) continue;
        g_dbus_connection_emit_signal(
            connection_, key.first.c_str(), kFcitx5ObjectPath, kFcitx5Interface, "Edits",
            g_variant_new("(t@a(us))", static_cast<guint64>(key.second), found->second->edits.take()), nullptr);
    }
}

void Fcitx5Backend::handleCall(const char* sender, const char* method, GVariant* parameters,
                               GDBusMethodInvocation* invocation) {
    const std::string_view name = method;
    const std::string from = sender != nullptr ? sender : "";
    if (name == "ProcessKey") {
        guint64 id = 0;
        const gchar* inputMethod = nullptr;
        guint32 keysym = 0;
        guint32 evdevCode = 0;
        guint32 state = 0;
        gboolean release = FALSE;
        gboolean secret = FALSE;
        gboolean offersText = FALSE;
        gboolean textChanged = FALSE;
        const gchar* text = nullptr;
        guint32 cursor = 0;
        guint32 anchor = 0;
        const gchar* frontend = nullptr;
        g_variant_get(parameters, "(t&suuubbbb&suu&s)", &id, &inputMethod, &keysym, &evdevCode, &state, &release,
                      &secret, &offersText, &textChanged, &text, &cursor, &anchor, &frontend);
        Client& entry = client(from, id);
        entry.edits.setFrontend(frontend);
        focused_ = ClientKey{from, id};
        InputMethodTextField& field = entry.client.field();
        field.setSecure(secret != FALSE);
        if (offersText == FALSE) {
            field.forget();
        } else if (textChanged != FALSE) {
            field.setSurroundingText(text, cursor, anchor);
        }
        bool handled = false;
        select_.reset();
        if (const std::optional<InputMethodLayout> layout = layoutOfInputMethod(inputMethod)) {
            inCall_ = true;
            entry.edits.setRecording(true);
            handled = processKey(entry.client, *layout, keysym, evdevCode, state, release != FALSE);
            entry.edits.setRecording(false);
            inCall_ = false;
        } else {
            // Another input method's keys are its own.
            focusOut(entry.client);
        }
        g_dbus_method_invocation_return_value(
            invocation, g_variant_new("(b@a(us)s)", handled ? TRUE : FALSE, entry.edits.take(),
                                      select_ ? select_->c_str() : ""));
        select_.reset();
        return;
    }
    guint64 id = 0;
    if (name == "FocusIn") {
        const gchar* inputMethod = nullptr;
        g_variant_get(parameters, "(t&s)", &id, &inputMethod);
        Client& entry = client(from, id);
        focused_ = ClientKey{from, id};
        if (const std::optional<InputMethodLayout> layout = layoutOfInputMethod(inputMethod)) {
            focusIn(entry.client, *layout);
        } else {
            focusOut(entry.client);
        }
    } else {
        g_variant_get(parameters, "(t)", &id);
        const ClientKey key{from, id};
        if (focused_ == key) focused_.reset();
        if (name == "FocusOut") {
            if (const auto found = clients_.find(key); found != clients_.end()) focusOut(found->second->client);
        } else if (name == "Forget") {
            forget(key);
        } else if (name == "Missed") {
            // What it knows of the text is stale and the word being typed broken: the next key brings
            // the text afresh.
            if (const auto found = clients_.find(key); found != clients_.end()) {
                found->second->client.field().forget();
                focusOut(found->second->client);
            }
        }
        // Reset: the client's text is kept, as on IBus; a change of it comes with the next key.
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

}  // namespace tarvelo::desktop
