// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/linux_desktop.h"

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/ibus/gnome_shell_keybindings.h"
#include "platform/linux/process_libraries.h"

namespace tarvelo::desktop {
namespace {

std::unique_ptr<XkbKeymap> keymapFor(X11Display* display) {
    return display != nullptr ? XkbKeymap::create(*display) : nullptr;
}

// GTK 4 before 4.14 reads the length of a deletion that Wayland's text input gives in bytes as a
// length in characters. Its library's file name carries the version: libgtk-4.so.1.800.3 is 4.8.3.
bool readsDeletionAsCharacters(int process) {
    const std::optional<std::string> file = processLibraryFile(process, "libgtk-4.so.1.");
    if (!file) return false;
    const std::string_view version = std::string_view(*file).substr(std::string_view("libgtk-4.so.1.").size());
    unsigned number = 0;
    const auto [end, error] = std::from_chars(version.data(), version.data() + version.size(), number);
    return error == std::errc() && end != version.data() && number / 100 < 14;
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
        inputMethod_ = ibus_.get();
        // GTK 3 reads a deletion's length as bytes, as Wayland's text-input says; GTK 4.8 and IBus's
        // own clients read characters. Which toolkit the focused process runs, its mapped libraries say.
        focusedProcess_ = std::make_unique<AtspiFocusedProcess>();
        ibus_->setClientCountsBytes([this] {
            const std::optional<int> process = focusedProcess_->processId();
            return process && processMapsLibrary(*process, "libgtk-3.so");
        });
        // Without a daemon there is nothing to serve yet; keys reach applications as they do anyway.
        ibus_->registerEngines();
    } else if (backend == KeyboardBackend::fcitx5) {
        // Without a session bus nothing calls; keys reach applications as they do anyway.
        fcitx5_ = std::make_unique<Fcitx5Backend>();
        inputMethod_ = fcitx5_.get();
        focusedProcess_ = std::make_unique<AtspiFocusedProcess>();
        fcitx5_->setClientMisreadsDeletion([this] {
            const std::optional<int> process = focusedProcess_->processId();
            return process && readsDeletionAsCharacters(*process);
        });
    }
    if (inputMethod_ != nullptr) {
        inputMethodAccessibility_ = std::make_unique<AccessibilityService>(*inputMethod_);
        // GTK 3 tells an input method nothing of a selection; the accessibility bus shows it.
        inputMethod_->setSelectionSource(&accessibilityApi_);
        focusedWorkspace_ = std::make_unique<FocusedProcessWorkspace>(*focusedProcess_, workspace_);
        // An input method waits for each key's answer only so long (fcitx5's module 0.3 s, IBus's
        // clients a few seconds): the first correction must not be the one that loads a dictionary
        // (tens of milliseconds, hundreds on a loaded machine).
        scheduler_.after(0.0, [this] {
            for (const char* language : {"en_US", "ru_RU"}) spellChecker_.check("a", language);
        });
    }
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

std::vector<std::string> LinuxDesktop::unavailableChords() const {
    if (ibus_ != nullptr) {
        const char* currentDesktop = std::getenv("XDG_CURRENT_DESKTOP");
        return gnomeShellBoundChords(currentDesktop != nullptr ? currentDesktop : "");
    }
    return eventTap_.unavailableChords();
}

Workspace& LinuxDesktop::workspace() {
    if (focusedWorkspace_ != nullptr) return *focusedWorkspace_;
    return workspace_;
}

bool LinuxDesktop::knowsFocusedApplication() const {
    if (focusedProcess_ != nullptr) return focusedProcess_->isListening();
    return display_ != nullptr;
}

bool LinuxDesktop::inputMethodRunning() const {
    if (ibus_ != nullptr) return ibus_->isConnected();
    if (fcitx5_ != nullptr) return Fcitx5Backend::isFcitx5Running();
    return true;
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
        return PipelinePlatform{*inputMethodAccessibility_, *inputMethod_, *inputMethod_, *inputMethod_, *focusedWorkspace_,
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
