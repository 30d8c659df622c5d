// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/linux_desktop.h"

#include <cstdlib>
#include <string_view>

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
      trust_(display_.get(), availability_) {
    if (backend == KeyboardBackend::ibus) {
        ibus_ = std::make_unique<IbusBackend>();
        inputMethod_ = ibus_.get();
        // Without a daemon there is nothing to serve yet; keys reach applications as they do anyway.
        ibus_->registerEngines();
    } else if (backend == KeyboardBackend::fcitx5) {
        // Without a session bus nothing calls; keys reach applications as they do anyway.
        fcitx5_ = std::make_unique<Fcitx5Backend>();
        inputMethod_ = fcitx5_.get();
        // fcitx5 waits for each key's answer only so long: the first correction must not be the one
        // that loads a dictionary (tens of milliseconds, hundreds on a loaded machine).
        scheduler_.after(0.0, [this] {
            for (const char* language : {"en_US", "ru_RU"}) spellChecker_.check("a", language);
        });
    }
    if (inputMethod_ != nullptr) inputMethodAccessibility_ = std::make_unique<AccessibilityService>(*inputMethod_);
}

KeyboardBackend LinuxDesktop::backendForSession(bool ibusAsked, bool fcitx5Asked) {
    if (fcitx5Asked) return KeyboardBackend::fcitx5;
    if (ibusAsked || IbusBackend::isTarveloEngineActive()) return KeyboardBackend::ibus;
    if (sessionNamesFcitx() || Fcitx5Backend::isFcitx5Running()) return KeyboardBackend::fcitx5;
    if (isWaylandSession()) return KeyboardBackend::ibus;
    return KeyboardBackend::x11;
}

bool LinuxDesktop::sessionNamesFcitx() {
    for (const char* name : {"XMODIFIERS", "GTK_IM_MODULE", "QT_IM_MODULE"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && std::string_view(value).find("fcitx") != std::string_view::npos) return true;
    }
    return false;
}

KeyboardBackend LinuxDesktop::backend() const {
    if (ibus_ != nullptr) return KeyboardBackend::ibus;
    if (fcitx5_ != nullptr) return KeyboardBackend::fcitx5;
    return KeyboardBackend::x11;
}

InputContext& LinuxDesktop::inputContext() {
    if (inputMethod_ != nullptr) return *inputMethod_;
    return inputContext_;
}

Trust& LinuxDesktop::trust() {
    if (inputMethod_ != nullptr) return *inputMethod_;
    return trust_;
}

AccessibilityService& LinuxDesktop::accessibility() {
    if (inputMethodAccessibility_ != nullptr) return *inputMethodAccessibility_;
    return accessibility_;
}

PipelinePlatform LinuxDesktop::pipelinePlatform() {
    if (inputMethod_ != nullptr) {
        return PipelinePlatform{*inputMethodAccessibility_, *inputMethod_, *inputMethod_, *inputMethod_, workspace_,
                                spellChecker_, recognizer_, sound_, notificationCenter_, clock_, scheduler_,
                                *inputMethod_, KeyLabels::pc()};
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
