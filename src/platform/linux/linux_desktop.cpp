// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/linux_desktop.h"

#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/linux/process_libraries.h"

namespace tarvelo::desktop {
namespace {

std::unique_ptr<XkbKeymap> keymapFor(X11Display* display) {
    return display != nullptr ? XkbKeymap::create(*display) : nullptr;
}

}  // namespace

LinuxDesktop::LinuxDesktop(KeyboardBackend backend)
    : display_(X11Display::open()),
      keymap_(keymapFor(display_.get())),
      eventTap_(display_.get(), keymap_.get(), injectedKeys_, keyboardHold_),
      keyboardEvents_(display_.get(), keymap_.get(), injectedKeys_, keyboardHold_),
      keyboardFreeze_(display_.get(), keyboardHold_),
      workspace_(display_.get()),
      inputContext_(keymap_.get()),
      trust_(display_.get(), availability_),
      // The IBus backend reads text through the engine: it leaves the accessibility bus's applications
      // alone, which may be waiting for the engine's answer to a key.
      accessibilityApi_([this] { return eventTap_.isHoldingKeyboard() || keyboardFreeze_.isHoldingKeyboard(); },
                        backend == KeyboardBackend::x11) {
    if (backend == KeyboardBackend::ibus) {
        ibus_ = std::make_unique<IbusBackend>();
        ibusAccessibility_ = std::make_unique<AccessibilityService>(*ibus_);
        // GTK 3 reads a deletion's length as bytes, as Wayland's text-input says; GTK 4.8 and IBus's
        // own clients read characters. Which toolkit the focused process runs, its mapped libraries say.
        focusedProcess_ = std::make_unique<AtspiFocusedProcess>();
        ibus_->setClientCountsBytes([this] {
            const std::optional<int> process = focusedProcess_->processId();
            return process && processMapsLibrary(*process, "libgtk-3.so");
        });
        // Without a daemon there is nothing to serve yet; keys reach applications as they do anyway.
        ibus_->registerEngines();
    }
}

KeyboardBackend LinuxDesktop::backendForSession(bool ibusAsked) {
    if (ibusAsked || isWaylandSession() || IbusBackend::isTarveloEngineActive()) return KeyboardBackend::ibus;
    return KeyboardBackend::x11;
}

InputContext& LinuxDesktop::inputContext() {
    if (ibus_ != nullptr) return *ibus_;
    return inputContext_;
}

Trust& LinuxDesktop::trust() {
    if (ibus_ != nullptr) return *ibus_;
    return trust_;
}

AccessibilityService& LinuxDesktop::accessibility() {
    if (ibusAccessibility_ != nullptr) return *ibusAccessibility_;
    return accessibility_;
}

PipelinePlatform LinuxDesktop::pipelinePlatform() {
    if (ibus_ != nullptr) {
        return PipelinePlatform{*ibusAccessibility_, *ibus_, *ibus_, *ibus_, workspace_, spellChecker_, recognizer_,
                                sound_, notificationCenter_, clock_, scheduler_, *ibus_, KeyLabels::pc()};
    }
    return PipelinePlatform{accessibility_, keyboardEvents_, eventTap_,          keyboardFreeze_, workspace_,
                            spellChecker_,  recognizer_,     sound_, notificationCenter_, clock_,
                            scheduler_,     inputContext_,   KeyLabels::pc()};
}

bool LinuxDesktop::isWaylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (type != nullptr && std::string_view(type) == "wayland") || (wayland != nullptr && *wayland != '\0');
}

}  // namespace tarvelo::desktop
