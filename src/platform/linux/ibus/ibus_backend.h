// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/linux/input_method/input_method_backend.h"

struct _IBusBus;
struct _IBusFactory;

namespace tarvelo::desktop {

class GnomeShellInputSources;
struct TarveloIbusEngine;

// The engine's name for a layout ("tarvelo-us", "tarvelo-ru"), and the layout an engine name stands for
// (none for an engine that is not Tarvelo's).
const char* ibusEngineName(InputMethodLayout layout);
std::optional<InputMethodLayout> ibusLayoutOfEngine(std::string_view engineName);

// Tarvelo as an IBus input-method engine: two engines of one component, "tarvelo-us" and "tarvelo-ru",
// whose every key IBus hands over before the client sees it. Each engine (one per input context) is a
// client of the input-method backend, which does the work; the engine in use gives the layout. This is
// the GObject glue: the engine type, its factory and the component's name on the IBus bus.
class IbusBackend final : public InputMethodBackend {
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
    // process for them; again whenever a daemon comes (IBus started late, or restarted). False without
    // a daemon or when another process owns the name.
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

    // The engine of `layout` through the desktop's own input sources, which also give the clients its
    // keymap: GNOME Shell's (GnomeShellInputSources), on GNOME only. Elsewhere false: an engine chosen on
    // IBus from outside would leave the desktop's keymap behind.
    bool selectKeyboardLayout(KeyboardLayout layout) override;
    // What the engines call.
    bool processKey(TarveloIbusEngine& engine, unsigned keyval, unsigned keycode, unsigned state);
    void focusIn(TarveloIbusEngine& engine);
    void focusOut(TarveloIbusEngine& engine);
    void destroyed(TarveloIbusEngine& engine);

private:
    _IBusBus* bus_ = nullptr;
    _IBusFactory* factory_ = nullptr;
    std::function<void()> disconnected_;
    bool servesEngines_ = false;
    std::function<bool()> clientCountsBytes_;
    std::unique_ptr<GnomeShellInputSources> inputSources_;
    bool inputSourcesOpened_ = false;
};

}  // namespace tarvelo::desktop
