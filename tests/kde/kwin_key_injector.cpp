// SPDX-License-Identifier: GPL-3.0-or-later
#include "kwin_key_injector.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "fake-input-client-protocol.h"

namespace tarvelo::wayland::testing {
namespace {

// Keys need version 4.
constexpr std::uint32_t kFakeInputVersion = 4;

struct Globals {
    org_kde_kwin_fake_input* fakeInput = nullptr;
    std::uint32_t offeredVersion = 0;
};

void announce(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) != 0 || globals->fakeInput != nullptr) return;
    globals->offeredVersion = version;
    if (version < kFakeInputVersion) return;
    globals->fakeInput = static_cast<org_kde_kwin_fake_input*>(
        wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, kFakeInputVersion));
}

void withdraw(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kRegistryListener{announce, withdraw};

}  // namespace

std::unique_ptr<KwinKeyInjector> KwinKeyInjector::start(std::string& failure) {
    std::unique_ptr<KwinKeyInjector> injector(new KwinKeyInjector());
    injector->display_ = wl_display_connect(nullptr);
    if (injector->display_ == nullptr) {
        failure = std::string("cannot connect to the Wayland display: ") + std::strerror(errno);
        return nullptr;
    }
    Globals globals;
    injector->registry_ = wl_display_get_registry(injector->display_);
    wl_registry_add_listener(injector->registry_, &kRegistryListener, &globals);
    if (wl_display_roundtrip(injector->display_) < 0) {
        failure = "the compositor did not answer";
        return nullptr;
    }
    injector->fakeInput_ = globals.fakeInput;
    if (injector->fakeInput_ == nullptr) {
        failure = globals.offeredVersion == 0
                      ? "KWin does not offer org_kde_kwin_fake_input to this program (no desktop file names it with "
                        "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input?)"
                      : "KWin's org_kde_kwin_fake_input is version " + std::to_string(globals.offeredVersion) +
                            ", keys need 4";
        return nullptr;
    }
    // KWin ignores a device's events until it has said who it is.
    org_kde_kwin_fake_input_authenticate(injector->fakeInput_, "Tarvelo tests", "types into test fields");
    if (!injector->tap(KEY_ESC)) {
        failure = "the first key was refused: " + injector->lastError();
        return nullptr;
    }
    pause(500);
    return injector;
}

KwinKeyInjector::~KwinKeyInjector() {
    if (fakeInput_ != nullptr) org_kde_kwin_fake_input_destroy(fakeInput_);
    if (registry_ != nullptr) wl_registry_destroy(registry_);
    if (display_ != nullptr) wl_display_disconnect(display_);
}

bool KwinKeyInjector::send(unsigned int code, bool pressed) {
    org_kde_kwin_fake_input_keyboard_key(fakeInput_, code,
                                         pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    // The round trip returns once KWin has handled the key, so that keys reach it in the order they are
    // sent and a pause after one is a pause after KWin had it.
    if (wl_display_roundtrip(display_) < 0) {
        lastError_ = "key " + std::to_string(code) + (pressed ? " down: " : " up: ") +
                     "the Wayland connection failed (" + std::strerror(wl_display_get_error(display_)) + ")";
        return false;
    }
    return true;
}

bool KwinKeyInjector::press(unsigned int code) { return send(code, true); }

bool KwinKeyInjector::release(unsigned int code) { return send(code, false); }

}  // namespace tarvelo::wayland::testing
