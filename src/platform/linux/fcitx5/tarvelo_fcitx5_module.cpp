// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's fcitx5 module: a thin add-on beside fcitx5's keyboard input methods that hands every key of
// the focused input context to the running Tarvelo and applies its answer. The pipeline stays in
// Tarvelo's one process (running it here would load a second Tarvelo into the input method, and two
// processes would write the same settings and statistics), so this links fcitx5 alone: it makes one
// synchronous call per key (fcitx5_protocol.h) and edits the client's text with fcitx5's own
// deleteSurroundingText and commitString. Without Tarvelo on the bus, or while it does not answer in
// time, every key passes unchanged. Nothing typed is logged.
#include "dbus_public.h"
#include <fcitx-utils/capabilityflags.h>
#include <fcitx-utils/dbus/bus.h>
#include <fcitx-utils/dbus/matchrule.h>
#include <fcitx-utils/dbus/message.h>
#include <fcitx-utils/dbus/servicewatcher.h>
#include <fcitx-utils/event.h>
#include <fcitx-utils/handlertable.h>
#include <fcitx-utils/log.h>
#include <fcitx/addonfactory.h>
#include <fcitx/addoninstance.h>
#include <fcitx/addonmanager.h>
#include <fcitx/event.h>
#include <fcitx/inputcontext.h>
#include <fcitx/instance.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/linux/fcitx5/fcitx5_protocol.h"

namespace {

using namespace fcitx;

FCITX_DEFINE_LOG_CATEGORY(tarvelo_log, "tarvelo");
#define TARVELO_DEBUG() FCITX_LOGC(tarvelo_log, Debug)

// The byte where character `characters` of UTF-8 `text` starts (its length past the end).
std::size_t byteOfCharacter(const std::string& text, std::size_t characters) {
    std::size_t byte = 0;
    for (std::size_t seen = 0; byte < text.size(); ++byte) {
        if ((static_cast<unsigned char>(text[byte]) & 0xC0) == 0x80) continue;
        if (seen++ == characters) return byte;
    }
    return text.size();
}

std::size_t characterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// What the module sends of a client's surrounding text: at most so many characters either side of
// the cursor, with the cursor and anchor counted from the cut's start.
struct SentText {
    std::string text;
    std::uint32_t cursor = 0;
    std::uint32_t anchor = 0;
    bool operator==(const SentText&) const = default;
};

SentText cut(const SurroundingText& surrounding) {
    const std::string& text = surrounding.text();
    const std::size_t length = characterCount(text);
    const std::size_t cursor = std::min<std::size_t>(surrounding.cursor(), length);
    const std::size_t start = cursor > kFcitx5TextBefore ? cursor - kFcitx5TextBefore : 0;
    const std::size_t end = std::min(length, cursor + kFcitx5TextAfter);
    const std::size_t anchor = std::clamp<std::size_t>(surrounding.anchor(), start, end);
    const std::size_t from = byteOfCharacter(text, start);
    SentText sent;
    sent.text = text.substr(from, byteOfCharacter(text, end) - from);
    sent.cursor = static_cast<std::uint32_t>(cursor - start);
    sent.anchor = static_cast<std::uint32_t>(anchor - start);
    return sent;
}

class TarveloModule final : public AddonInstance {
public:
    explicit TarveloModule(Instance* instance) : instance_(instance) {
        AddonInstance* dbusAddon = instance_->addonManager().addon("dbus", true);
        bus_ = dbusAddon != nullptr ? dbusAddon->call<IDBusModule::bus>() : nullptr;
        if (bus_ == nullptr) {
            FCITX_LOGC(tarvelo_log, Warn) << "no session bus: Tarvelo cannot be reached";
            return;
        }
        watcher_ = std::make_unique<dbus::ServiceWatcher>(*bus_);
        ownerWatch_ = watcher_->watchService(
            kFcitx5BusName, [this](const std::string&, const std::string&, const std::string& newOwner) {
                owner_ = newOwner;
                quietUntil_ = 0;
                // A Tarvelo that has just come knows no client's text: each is sent afresh.
                for (auto& [ic, entry] : clients_) entry.sent.reset();
                TARVELO_DEBUG() << (owner_.empty() ? "Tarvelo is not on the bus" : "Tarvelo is on the bus");
            });
        editsMatch_ = bus_->addMatch(dbus::MatchRule(kFcitx5BusName, kFcitx5ObjectPath, kFcitx5Interface, "Edits"),
                                     [this](dbus::Message& message) {
                                         onEdits(message);
                                         return true;
                                     });
        selectMatch_ = bus_->addMatch(dbus::MatchRule(kFcitx5BusName, kFcitx5ObjectPath, kFcitx5Interface, "Select"),
                                      [this](dbus::Message& message) {
                                          onSelect(message);
                                          return true;
                                      });
        watchers_.emplace_back(instance_->watchEvent(EventType::InputContextKeyEvent, EventWatcherPhase::PreInputMethod,
                                                     [this](Event& event) { onKey(static_cast<KeyEvent&>(event)); }));
        watchers_.emplace_back(instance_->watchEvent(
            EventType::InputContextFocusIn, EventWatcherPhase::Default, [this](Event& event) {
                InputContext* ic = static_cast<InputContextEvent&>(event).inputContext();
                tell("FocusIn", ic, true);
            }));
        watchers_.emplace_back(instance_->watchEvent(
            EventType::InputContextSwitchInputMethod, EventWatcherPhase::PostInputMethod, [this](Event& event) {
                InputContext* ic = static_cast<InputContextEvent&>(event).inputContext();
                if (ic->hasFocus()) tell("FocusIn", ic, true);
            }));
        watchers_.emplace_back(instance_->watchEvent(
            EventType::InputContextFocusOut, EventWatcherPhase::Default,
            [this](Event& event) { tell("FocusOut", static_cast<InputContextEvent&>(event).inputContext(), false); }));
        watchers_.emplace_back(instance_->watchEvent(
            EventType::InputContextReset, EventWatcherPhase::Default,
            [this](Event& event) { tell("Reset", static_cast<InputContextEvent&>(event).inputContext(), false); }));
        watchers_.emplace_back(instance_->watchEvent(
            EventType::InputContextDestroyed, EventWatcherPhase::Default, [this](Event& event) {
                InputContext* ic = static_cast<InputContextEvent&>(event).inputContext();
                tell("Forget", ic, false);
                clients_.erase(ic);
            }));
    }

private:
    struct Client {
        std::uint64_t id = 0;
        // The text last sent, so that an unchanged text is not sent again.
        std::optional<SentText> sent;
        // Keys went past Tarvelo (it did not answer in time): it is told before the next one.
        bool missed = false;
    };

    Client& client(InputContext* ic) {
        auto [found, made] = clients_.try_emplace(ic);
        if (made) found->second.id = ++lastId_;
        return found->second;
    }

    InputContext* inputContextOf(std::uint64_t id) {
        for (auto& [ic, entry] : clients_) {
            if (entry.id == id) return ic;
        }
        return nullptr;
    }

    bool reachable() const { return bus_ != nullptr && !owner_.empty() && now(CLOCK_MONOTONIC) >= quietUntil_; }

    void tell(const char* method, InputContext* ic, bool withInputMethod) {
        if (!reachable()) return;
        dbus::Message message = bus_->createMethodCall(owner_.c_str(), kFcitx5ObjectPath, kFcitx5Interface, method);
        message << client(ic).id;
        if (withInputMethod) message << instance_->inputMethod(ic);
        message.send();
    }

    void onKey(KeyEvent& event) {
        if (!reachable()) return;
        InputContext* ic = event.inputContext();
        Client& entry = client(ic);
        const CapabilityFlags capabilities = ic->capabilityFlags();
        const bool secret = capabilities.testAny(CapabilityFlags{CapabilityFlag::PasswordOrSensitive});
        const bool offersText =
            !secret && capabilities.test(CapabilityFlag::SurroundingText) && ic->surroundingText().isValid();
        SentText text;
        bool changed = false;
        if (offersText) {
            text = cut(ic->surroundingText());
            changed = !entry.sent || !(*entry.sent == text);
            if (changed) entry.sent = text;
        } else {
            entry.sent.reset();
        }
        if (entry.missed) {
            entry.missed = false;
            tell("Missed", ic, false);
        }
        const Key raw = event.rawKey();
        dbus::Message message =
            bus_->createMethodCall(owner_.c_str(), kFcitx5ObjectPath, kFcitx5Interface, "ProcessKey");
        const int code = raw.code();
        message << entry.id << instance_->inputMethod(ic) << static_cast<std::uint32_t>(raw.sym())
                << static_cast<std::uint32_t>(code > 8 ? code - 8 : 0) << static_cast<std::uint32_t>(raw.states())
                << event.isRelease() << secret << offersText << changed << (changed ? text.text : std::string())
                << (changed ? text.cursor : 0U) << (changed ? text.anchor : 0U) << std::string(ic->frontend());
        dbus::Message reply = message.call(std::uint64_t{kFcitx5CallTimeoutMilliseconds} * 1000);
        if (!reply || reply.isError()) {
            // A Tarvelo that does not answer in time is left alone for a while: keys must not wait.
            quietUntil_ = now(CLOCK_MONOTONIC) + std::uint64_t{kFcitx5QuietAfterTimeoutSeconds} * 1000000;
            // Its idea of every client's text is stale now, and the keys it does not see break its words:
            // each text is sent afresh, and it is told before each client's next key.
            for (auto& [other, otherEntry] : clients_) {
                otherEntry.sent.reset();
                otherEntry.missed = true;
            }
            FCITX_LOGC(tarvelo_log, Warn) << "Tarvelo did not answer a key: " << reply.errorName();
            return;
        }
        bool handled = false;
        std::vector<dbus::DBusStruct<std::uint32_t, std::string>> edits;
        std::string select;
        reply >> handled >> edits >> select;
        if (!reply) return;
        if (!apply(ic, edits)) {
            // The key reaches the client as typed, as if Tarvelo had not been asked.
            return;
        }
        if (!select.empty()) instance_->setCurrentInputMethod(ic, select, false);
        if (handled) event.filterAndAccept();
    }

    // Whether fcitx5 can make the deletions of `edits` as asked. A frontend that goes through the
    // compositor turns a deletion into bytes from the surrounding text fcitx5 last had from the client,
    // and drops one that reaches past its start: a field focused moments before may not have told its
    // text yet, and the commit alone would add the replacement behind the word.
    static bool canMake(InputContext* ic, const std::vector<dbus::DBusStruct<std::uint32_t, std::string>>& edits) {
        std::size_t deleted = 0;
        for (const auto& edit : edits) deleted += std::get<0>(edit.data());
        if (deleted == 0) return true;
        const SurroundingText& surrounding = ic->surroundingText();
        if (surrounding.isValid()) return surrounding.cursor() >= deleted;
        // Without a text, only a frontend that hands the deletion to the client as it stands can make it.
        return !std::string_view(ic->frontend()).starts_with("wayland");
    }

    // Makes the edits, or none of them; Tarvelo is told when they were not made.
    bool apply(InputContext* ic, const std::vector<dbus::DBusStruct<std::uint32_t, std::string>>& edits) {
        if (!canMake(ic, edits)) {
            Client& entry = client(ic);
            entry.sent.reset();
            tell("Missed", ic, false);
            TARVELO_DEBUG() << "an edit reached past the client's known text and was not made";
            return false;
        }
        for (const auto& edit : edits) {
            const std::uint32_t count = std::get<0>(edit.data());
            if (count > 0) ic->deleteSurroundingText(-static_cast<int>(count), count);
            if (!std::get<1>(edit.data()).empty()) ic->commitString(std::get<1>(edit.data()));
        }
        return true;
    }

    void onEdits(dbus::Message& message) {
        if (message.sender() != owner_) return;
        std::uint64_t id = 0;
        std::vector<dbus::DBusStruct<std::uint32_t, std::string>> edits;
        message >> id >> edits;
        if (!message) return;
        if (InputContext* ic = inputContextOf(id)) apply(ic, edits);
    }

    void onSelect(dbus::Message& message) {
        if (message.sender() != owner_) return;
        std::uint64_t id = 0;
        std::string inputMethod;
        message >> id >> inputMethod;
        if (!message) return;
        if (InputContext* ic = inputContextOf(id)) instance_->setCurrentInputMethod(ic, inputMethod, false);
    }

    Instance* instance_;
    dbus::Bus* bus_ = nullptr;
    std::unique_ptr<dbus::ServiceWatcher> watcher_;
    std::unique_ptr<HandlerTableEntry<dbus::ServiceWatcherCallback>> ownerWatch_;
    std::unique_ptr<dbus::Slot> editsMatch_;
    std::unique_ptr<dbus::Slot> selectMatch_;
    std::vector<std::unique_ptr<HandlerTableEntry<EventHandler>>> watchers_;
    std::unordered_map<InputContext*, Client> clients_;
    std::uint64_t lastId_ = 0;
    std::string owner_;
    std::uint64_t quietUntil_ = 0;
};

class TarveloModuleFactory final : public AddonFactory {
public:
    AddonInstance* create(AddonManager* manager) override { return new TarveloModule(manager->instance()); }
};

}  // namespace

FCITX_ADDON_FACTORY(TarveloModuleFactory)
