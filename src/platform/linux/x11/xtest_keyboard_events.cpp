// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/xtest_keyboard_events.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <glib.h>

#include <algorithm>

namespace tarvelo::desktop {
namespace {

constexpr std::uint16_t kBackspace = 51;

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// X's keysym for a Unicode character: Latin-1 is its own keysym, everything else has 0x01000000 added.
KeySym unicodeKeysym(char32_t character) {
    const auto value = static_cast<KeySym>(character);
    return character < 0x100 ? value : (0x01000000 | value);
}

// Waits while the server's clients catch up; the server has already handled everything sent.
void pauseFor(std::chrono::microseconds duration) {
    if (duration.count() > 0) g_usleep(static_cast<gulong>(duration.count()));
}

}  // namespace

XTestKeyboardEvents::XTestKeyboardEvents(X11Display* display, XkbKeymap* keymap, InjectedKeys& injected,
                                         KeyboardHold& hold)
    : display_(display), keymap_(keymap), injected_(injected), hold_(hold) {
    hold_.setSender([this](const KeyboardEvent& event) { return send(event); });
}

XTestKeyboardEvents::~XTestKeyboardEvents() {
    hold_.setSender(nullptr);
    if (restoreSource_ != 0) g_source_remove(restoreSource_);
    restoreSource_ = 0;
    if (display_ == nullptr) return;
    Clock::time_point latest{};
    for (const Spare& spare : spares_) {
        if (spare.character != 0) latest = std::max(latest, spare.lastUse);
    }
    if (latest == Clock::time_point{}) return;
    display_->sync();
    waitSince(latest, kSettleTime);
    restoreAll();
}

bool XTestKeyboardEvents::post(const KeyboardEvent& event) {
    if (display_ == nullptr || keymap_ == nullptr) return false;
    if (event.unicodeString.empty() && (event.keyCode != kBackspace || !keymap_->keycode("BKSP"))) return false;
    if (hold_.isHeld()) {
        hold_.wait(event);
        return true;
    }
    return send(event);
}

bool XTestKeyboardEvents::send(const KeyboardEvent& event) {
    X11Display::ErrorTrap trap(*display_);
    if (event.keyDown) releaseHeldKeys();
    if (event.unicodeString.empty()) {
        const std::optional<std::uint32_t> backspace = keymap_->keycode("BKSP");
        if (!backspace) return false;
        fake(*backspace, event.keyDown);
        return trap.sync();
    }
    if (!event.keyDown) return true;

    for (const char16_t unit : event.unicodeString) {
        char32_t character = unit;
        if (isHighSurrogate(unit)) {
            pendingHighSurrogate_ = unit;
            continue;
        }
        if (isLowSurrogate(unit)) {
            if (pendingHighSurrogate_ == 0) continue;
            character = 0x10000 + ((static_cast<char32_t>(pendingHighSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
        }
        pendingHighSurrogate_ = 0;
        if (!type(character) || trap.failed()) return false;
    }
    return trap.sync();
}

void XTestKeyboardEvents::releaseHeldKeys() {
    // A round trip: the server's state with every key posted so far counted.
    char down[32] = {};
    XQueryKeymap(display_->get(), down);
    for (std::uint32_t keycode = 8; keycode < 256; ++keycode) {
        if ((static_cast<unsigned char>(down[keycode / 8]) & (1u << (keycode % 8))) != 0) fake(keycode, false);
    }
}

bool XTestKeyboardEvents::type(char32_t character) {
    findSpares();
    // Lent key codes are left out: the map of one may already have changed at the server.
    if (const std::optional<XkbKeymap::Stroke> stroke = keymap_->strokeFor(character, spareKeycodes())) {
        return typeOnKey(stroke->keycode, stroke->shift);
    }
    const std::optional<std::uint32_t> lent = lend(character);
    if (!lent || !typeOnKey(*lent, false)) return false;
    for (Spare& spare : spares_) {
        if (spare.keycode == *lent) spare.lastUse = Clock::now();
    }
    return true;
}

bool XTestKeyboardEvents::typeOnKey(std::uint32_t keycode, bool shift) {
    std::optional<std::uint32_t> shiftKey;
    if (shift) {
        shiftKey = keymap_->keycode("LFSH");
        if (!shiftKey) shiftKey = keymap_->keycode("RTSH");
        if (!shiftKey) return false;
        fake(*shiftKey, true);
    }
    fake(keycode, true);
    fake(keycode, false);
    if (shiftKey) fake(*shiftKey, false);
    return true;
}

bool XTestKeyboardEvents::fake(std::uint32_t keycode, bool down) {
    XTestFakeKeyEvent(display_->get(), keycode, down ? True : False, CurrentTime);
    if (down) injected_.notePosted(keycode);
    return true;
}

void XTestKeyboardEvents::findSpares() {
    if (sparesFound_) return;
    sparesFound_ = true;
    std::vector<std::uint32_t> codes = keymap_->keycodesWithoutSymbols();
    // From the top: the low free codes are where a keyboard's extra keys tend to be added.
    std::sort(codes.rbegin(), codes.rend());
    for (const std::uint32_t code : codes) spares_.push_back({code, 0, {}});
}

std::vector<std::uint32_t> XTestKeyboardEvents::spareKeycodes() const {
    std::vector<std::uint32_t> codes;
    codes.reserve(spares_.size());
    for (const Spare& spare : spares_) codes.push_back(spare.keycode);
    return codes;
}

std::optional<std::uint32_t> XTestKeyboardEvents::lend(char32_t character) {
    findSpares();
    if (spares_.empty()) return std::nullopt;
    for (const Spare& spare : spares_) {
        if (spare.character == character) return spare.keycode;
    }
    // A free one, else the one used longest ago, once its last press has surely been read.
    auto chosen = std::find_if(spares_.begin(), spares_.end(), [](const Spare& spare) { return spare.character == 0; });
    if (chosen == spares_.end()) {
        chosen = std::min_element(spares_.begin(), spares_.end(),
                                  [](const Spare& a, const Spare& b) { return a.lastUse < b.lastUse; });
        waitSince(chosen->lastUse, kSettleTime);
    }
    KeySym keysyms[] = {unicodeKeysym(character), unicodeKeysym(character)};
    if (!changeMapping(chosen->keycode, keysyms)) return std::nullopt;
    chosen->character = character;
    chosen->lastUse = Clock::now();
    scheduleRestore(kRestoreDelay);
    return chosen->keycode;
}

bool XTestKeyboardEvents::changeMapping(std::uint32_t keycode, unsigned long (&keysyms)[2]) {
    // Xlib drops a map change that arrives while it is still reading the previous one (GTK 3 and Xlib
    // programs then never see the key's new keysym), so changes are spaced by kMappingGap.
    waitSince(lastMappingChange_, kMappingGap);
    X11Display::ErrorTrap trap(*display_);
    // The keysym on both levels: a lone letter keysym would be read as a lower and upper case pair, and
    // "H" would type "h".
    XChangeKeyboardMapping(display_->get(), static_cast<int>(keycode), 2, keysyms, 1);
    const bool changed = trap.sync();
    lastMappingChange_ = Clock::now();
    return changed;
}

void XTestKeyboardEvents::waitSince(Clock::time_point since, std::chrono::microseconds gap) {
    const auto waited = Clock::now() - since;
    if (waited < gap) pauseFor(std::chrono::duration_cast<std::chrono::microseconds>(gap - waited));
}

void XTestKeyboardEvents::scheduleRestore(std::chrono::milliseconds delay) {
    if (restoreSource_ != 0) return;
    restoreSource_ = g_timeout_add(static_cast<guint>(delay.count()), [](gpointer data) -> gboolean {
        auto* self = static_cast<XTestKeyboardEvents*>(data);
        self->restoreSource_ = 0;
        self->restoreNext();
        return G_SOURCE_REMOVE;
    }, this);
}

void XTestKeyboardEvents::restoreNext() {
    Clock::time_point latest{};
    for (const Spare& spare : spares_) {
        if (spare.character != 0) latest = std::max(latest, spare.lastUse);
    }
    if (latest == Clock::time_point{}) return;
    if (const auto idle = Clock::now() - latest; idle < kRestoreDelay) {
        scheduleRestore(std::chrono::ceil<std::chrono::milliseconds>(kRestoreDelay - idle));
        return;
    }
    // One key at a time, each a gap apart, without holding up the main loop in between.
    if (Clock::now() - lastMappingChange_ < kMappingGap) {
        scheduleRestore(std::chrono::ceil<std::chrono::milliseconds>(kMappingGap));
        return;
    }
    for (Spare& spare : spares_) {
        if (spare.character == 0) continue;
        KeySym nothing[] = {NoSymbol, NoSymbol};
        changeMapping(spare.keycode, nothing);
        spare.character = 0;
        break;
    }
    scheduleRestore(std::chrono::ceil<std::chrono::milliseconds>(kMappingGap));
}

void XTestKeyboardEvents::restoreAll() {
    for (Spare& spare : spares_) {
        if (spare.character == 0) continue;
        KeySym nothing[] = {NoSymbol, NoSymbol};
        changeMapping(spare.keycode, nothing);
        spare.character = 0;
    }
}

}  // namespace tarvelo::desktop
