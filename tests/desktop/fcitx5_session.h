// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gio/gio.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "desktop_tarvelo.h"

namespace tarvelo::desktop::testing {

inline constexpr std::uint64_t kCapabilitySurroundingText = 1ULL << 6;
inline constexpr std::uint64_t kCapabilityPassword = 1ULL << 3;
inline constexpr std::uint32_t kControlMask = 1U << 2;

// A field of an application that uses fcitx5's D-Bus frontend (what GTK and Qt applications talk to
// with GTK_IM_MODULE=fcitx): it types the keys fcitx5 lets pass, applies fcitx5's deletions and
// commits, and tells fcitx5 its surrounding text after every change.
class FrontendField {
public:
    FrontendField(GDBusConnection* bus, std::uint64_t capabilities);
    ~FrontendField();
    FrontendField(const FrontendField&) = delete;
    FrontendField& operator=(const FrontendField&) = delete;

    bool isOpen() const { return !path_.empty(); }
    // Presses and releases the key of `key` (a US letter or a space); `keyText` is what the client's
    // keymap gives it.
    void press(char key, std::string_view keyText, std::uint32_t state = 0);
    void type(std::string_view keys);
    // Whether the field tells fcitx5 its text after each change; one that does not keeps fcitx5's idea
    // of it as it was (a field focused moments before, whose toolkit has not sent it yet).
    void setReportsText(bool reports) { reportsText_ = reports; }
    // Selects fcitx5's input method for the focused field.
    void setInputMethod(const char* name);
    std::string text() const;
    // When fcitx5's last commit reached the field (g_get_monotonic_time), 0 before any.
    std::int64_t lastCommitAt() const { return lastCommitAt_; }

private:
    bool processKey(std::uint32_t keysym, std::uint32_t keycode, std::uint32_t state, bool release);
    GVariant* call(const char* method, GVariant* parameters);
    void sendText();
    void onSignal(std::string_view signal, GVariant* parameters);

    GDBusConnection* bus_;
    std::string path_;
    guint subscription_ = 0;
    std::u32string text_;
    std::int64_t lastCommitAt_ = 0;
    bool reportsText_ = true;
};

// A private session bus with fcitx5 on it (the build's module, keyboard-us and keyboard-ru as its input
// methods, its D-Bus frontend), Tarvelo serving the module from this process, and the application's
// connection. `failure` says what did not start.
struct Fcitx5Session {
    Fcitx5Session();
    ~Fcitx5Session();
    Fcitx5Session(const Fcitx5Session&) = delete;
    Fcitx5Session& operator=(const Fcitx5Session&) = delete;

    bool fcitx5Owned();
    void startTarvelo();

    std::string failure;
    std::string home;
    GTestDBus* testBus = nullptr;
    GPid fcitx5 = 0;
    GDBusConnection* application = nullptr;
    std::unique_ptr<DesktopTarvelo> tarvelo;
};

}  // namespace tarvelo::desktop::testing
