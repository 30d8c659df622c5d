// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/input_method/input_method_backend.h"

struct _GDBusConnection;
struct _GDBusMethodInvocation;
struct _GVariant;

namespace tarvelo::desktop {

// Tarvelo behind fcitx5 (KDE Plasma's input method): the module Tarvelo installs into fcitx5 hands every
// key of the focused input context to this object on the session bus (fcitx5_protocol.h) and applies
// the edits it answers with. Running the pipeline inside fcitx5 instead would load a second Tarvelo
// (Qt, ICU, Enchant, settings, statistics) into the input method, and two processes would write the
// same settings and statistics files; so the module stays thin and the work is done here, by the same
// input-method backend as IBus's. Each call is one key of one client: the text the module sends
// becomes the client's field, the key goes through the monitor, and the edits the pipeline makes
// while the call runs are its answer. The layout is that of fcitx5's keyboard input method in use
// (keyboard-us, keyboard-ru); the keys of any other input method are left alone.
class Fcitx5Backend final : public InputMethodBackend {
public:
    // Connects to the session bus, serves the object and asks for the name. isServing() is false when
    // there is no session bus or the object could not be registered.
    Fcitx5Backend();
    ~Fcitx5Backend() override;
    Fcitx5Backend(const Fcitx5Backend&) = delete;
    Fcitx5Backend& operator=(const Fcitx5Backend&) = delete;

    bool isServing() const { return registration_ != 0; }
    // Whether the bus has given this process the name (asked for asynchronously: the main loop answers).
    bool ownsName() const { return ownsName_; }

    // Whether fcitx5 is the session's input method: its name is on the session bus.
    static bool isFcitx5Running();

    // After a correction the rest of the sentence is typed in the corrected layout: fcitx5 is told to
    // select keyboard-us or keyboard-ru for the focused client, in the answer to the key being handled
    // or, once the key has gone, with a signal.
    bool selectKeyboardLayout(KeyboardLayout layout) override;

    // Whether the focused client reads a deletion's length, which fcitx5 gives it in bytes through the
    // compositor, as characters; asked only before a deletion of characters longer than a byte.
    void setClientMisreadsDeletion(std::function<bool()> misreads) { misreadsDeletion_ = std::move(misreads); }

    // What the bus calls (public for the C callbacks only).
    void handleCall(const char* sender, const char* method, _GVariant* parameters, _GDBusMethodInvocation* invocation);
    void senderVanished(const std::string& sender);
    void nameOwned(bool owned) { ownsName_ = owned; }

private:
    struct Client;
    using ClientKey = std::pair<std::string, std::uint64_t>;
    Client& client(const std::string& sender, std::uint64_t id);
    void forget(const ClientKey& key);
    // Edits made outside a key go out as one signal per client, once the command that made them is done.
    void outsideEdit(const ClientKey& key);
    void flushOutsideEdits();

    _GDBusConnection* connection_ = nullptr;
    unsigned registration_ = 0;
    unsigned ownerId_ = 0;
    bool ownsName_ = false;
    std::map<ClientKey, std::unique_ptr<Client>> clients_;
    std::map<std::string, unsigned> senderWatches_;
    // The input method to select, asked for while a key is handled.
    std::optional<std::string> select_;
    bool inCall_ = false;
    // The client that had a key or the focus last.
    std::optional<ClientKey> focused_;
    std::uint64_t uses_ = 0;
    std::vector<ClientKey> editedOutside_;
    unsigned flushSource_ = 0;
    std::function<bool()> misreadsDeletion_;
};

}  // namespace tarvelo::desktop
