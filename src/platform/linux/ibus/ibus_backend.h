// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/accessibility_api.h"
#include "platform/event_tap.h"
#include "platform/input_context.h"
#include "platform/keyboard_events.h"
#include "platform/keyboard_freeze.h"
#include "platform/linux/ibus/ibus_key_mapping.h"
#include "platform/trust.h"

struct _IBusBus;
struct _IBusFactory;

namespace tarvelo::desktop {

class GnomeShellInputSources;
struct TarveloIbusEngine;

// Tarvelo as an IBus input-method engine: two engines of one component, "tarvelo-us" and "tarvelo-ru",
// whose every key IBus hands over before the client sees it. The backend is the session's key tap (each
// key, in order, held until the monitor has answered: EventTap::holdsKeys), its text (the focused
// client's surrounding text, see IbusTextField), its edits (deletion before the caret and commits; the
// typed Backspaces and text of KeyboardEvents become the same), the selected layout (that of the engine
// in use), and the permissions (granted: an input method is given every key by design).
// A typed key reaches the client as a commit of its text under the engine's layout (in a password field it
// passes unchanged), unless the monitor swallows it or an edit took it in; other keys pass unchanged.
class IbusBackend final : public EventTap,
                          public KeyboardEvents,
                          public KeyboardFreeze,
                          public AccessibilityApi,
                          public InputContext,
                          public Trust {
public:
    // The component's bus name, as in its description.
    static constexpr const char* kComponentName = "org.freedesktop.IBus.Tarvelo";

    // Connects to the IBus daemon of the session; isConnected() tells whether there is one.
    IbusBackend();
    ~IbusBackend() override;
    IbusBackend(const IbusBackend&) = delete;
    IbusBackend& operator=(const IbusBackend&) = delete;

    bool isConnected() const;
    // Offers the two engines on the bus and owns the component's name, so that the daemon asks this
    // process for them. False without a daemon or when another process owns the name.
    bool registerEngines();

    // Whether the focused client counts a deletion in bytes where the compositor passes the engine's
    // count on unchanged (see EngineEdits); asked at each deletion in such a client. No by default:
    // a deletion read the other way then takes fewer characters than asked, never more.
    void setClientCountsBytes(std::function<bool()> counts) { clientCountsBytes_ = std::move(counts); }
    bool clientCountsBytes() const { return clientCountsBytes_ && clientCountsBytes_(); }

    // Called when the daemon goes away (the session ends, or IBus restarts and will start Tarvelo again
    // when it needs it).
    void onDisconnected(std::function<void()> handler) { disconnected_ = std::move(handler); }
    void disconnected() {
        if (disconnected_) disconnected_();
    }

    // Whether the daemon's current engine is one of Tarvelo's (asked of a daemon that may not be
    // running: false then).
    static bool isTarveloEngineActive();

    // EventTap
    bool install(Callback callback) override;
    void enable() override { enabled_ = true; }
    void remove() override;
    void setUndoChordWanted(bool) override {}
    void setChords(const std::vector<KeyChord>&) override {}
    bool holdsKeys() const override { return true; }
    // KeyboardEvents: Backspace deletes before the caret, typed text is committed.
    bool post(const KeyboardEvent& event) override;
    // KeyboardFreeze: every key waits for the engine's answer anyway.
    bool freeze() override { return true; }
    void thaw() override {}
    // AccessibilityApi: the focused client's text, or nullptr while no client of ours has focus.
    std::shared_ptr<AccessibilityElement> focusedElement() override;
    // InputContext: "us" or "ru", as the engine in use declares.
    std::optional<std::string> selectedKeyboardInputSource() override;
    // The engine of `layout` through the desktop's own input sources, which also give the clients its
    // keymap: GNOME Shell's (GnomeShellInputSources), on GNOME only. Elsewhere false: an engine chosen on
    // IBus from outside would leave the desktop's keymap behind.
    bool selectKeyboardLayout(KeyboardLayout layout) override;
    // Trust
    bool isAccessibilityTrusted() override { return true; }
    void promptForAccessibility() override {}
    bool preflightListenEventAccess() override { return true; }
    void requestListenEventAccess() override {}

    // What the engines call.
    bool processKey(TarveloIbusEngine& engine, unsigned keyval, unsigned keycode, unsigned state);
    void focusIn(TarveloIbusEngine& engine);
    void focusOut(TarveloIbusEngine& engine);
    void destroyed(TarveloIbusEngine& engine);

private:
    _IBusBus* bus_ = nullptr;
    _IBusFactory* factory_ = nullptr;
    TarveloIbusEngine* focused_ = nullptr;
    std::optional<IbusLayout> layout_;
    Callback callback_;
    bool enabled_ = false;
    std::function<void()> disconnected_;
    std::function<bool()> clientCountsBytes_;
    std::unique_ptr<GnomeShellInputSources> inputSources_;
    bool inputSourcesOpened_ = false;
};

}  // namespace tarvelo::desktop
