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

LinuxDesktop::LinuxDesktop()
    : display_(X11Display::open()),
      keymap_(keymapFor(display_.get())),
      eventTap_(display_.get(), keymap_.get(), injectedKeys_, keyboardHold_),
      keyboardEvents_(display_.get(), keymap_.get(), injectedKeys_, keyboardHold_),
      keyboardFreeze_(display_.get(), keyboardHold_),
      workspace_(display_.get()),
      inputContext_(keymap_.get()),
      trust_(display_.get(), availability_) {}

PipelinePlatform LinuxDesktop::pipelinePlatform() {
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
