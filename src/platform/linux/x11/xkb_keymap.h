// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/x11/x11_display.h"

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace tarvelo::desktop {

// The core keyboard's XKB keymap and state as the focused application sees them: the keymap is read
// through xkbcommon-x11 (on a connection of its own) and read again after the server announces a new
// keyboard or a changed map; the state (group, modifiers) follows the server's state notifications in
// the order the display delivers its events, so that a key event is read with the state it was pressed
// in. Key codes are X key codes (8 to 255). Everything runs on the display's thread.
class XkbKeymap {
public:
    // nullptr when the server lacks XKB or the keymap cannot be read.
    static std::unique_ptr<XkbKeymap> create(X11Display& display);
    ~XkbKeymap();
    XkbKeymap(const XkbKeymap&) = delete;
    XkbKeymap& operator=(const XkbKeymap&) = delete;

    // The UTF-8 text the key gives with the current group and modifiers (Control transforms letters to
    // control characters as it does for applications); empty for a key without text.
    std::string text(std::uint32_t keycode);

    // A key whose only job is to modify or switch others (Shift, Control, Alt, Super, AltGr, the lock
    // keys, the group switch): a keyboard reports its press as a change of modifiers, not as a key.
    bool isModifierKey(std::uint32_t keycode);

    // The key at a physical position, by its XKB name ("SPCE", "BKSP", "AB01", "LFSH").
    std::optional<std::uint32_t> keycode(std::string_view keyName);

    // A key that types `character` in the current group once no modifier key is held (XTestKeyboardEvents
    // lets go of them before typing), with the latched and locked modifiers of now (Caps Lock, Num Lock):
    // pressed alone, or with Shift. Keys in `skipped` are not considered.
    struct Stroke {
        std::uint32_t keycode = 0;
        bool shift = false;
    };
    std::optional<Stroke> strokeFor(char32_t character, const std::vector<std::uint32_t>& skipped = {});

    // Keys that give nothing in any group or level: free to be lent to a keysym for a moment.
    std::vector<std::uint32_t> keycodesWithoutSymbols();

    // The effective group (0 for the first layout) and the core modifier masks now.
    std::uint32_t group() const { return group_; }
    std::uint32_t modifiers() const { return effectiveModifiers_; }
    std::uint32_t baseModifiers() const { return baseModifiers_; }

    // The real modifiers that Alt, Super and Num Lock set (usually Mod1, Mod4, Mod2); 0 when unbound.
    std::uint32_t altMask() const { return altMask_; }
    std::uint32_t superMask() const { return superMask_; }
    std::uint32_t numLockMask() const { return numLockMask_; }

    // The layouts of the groups as the keymap was configured ("us", "ru"), from the root window's
    // _XKB_RULES_NAMES; empty when the property is missing.
    std::vector<std::string> layoutNames() const;
    // The current group's layout name; none when the group has no name.
    std::optional<std::string> currentLayoutName() const;
    // Locks the core keyboard to the first group whose layout is `layoutName`, as the desktop's layout
    // switch does; the state follows once the server announces it. False, with nothing sent, when no
    // group of the keymap has that layout; false too when the server refuses the change.
    bool lockGroupOfLayout(std::string_view layoutName);

    // Changes every time the keymap is read again, so that key codes taken from it can be refreshed.
    std::uint64_t revision();

private:
    struct ConnectionClose {
        void operator()(xcb_connection_t* connection) const;
    };
    struct ContextRelease {
        void operator()(xkb_context* context) const;
    };
    struct KeymapRelease {
        void operator()(xkb_keymap* keymap) const;
    };
    struct StateRelease {
        void operator()(xkb_state* state) const;
    };
    struct Mask {
        std::uint32_t baseModifiers = 0;
        std::uint32_t latchedModifiers = 0;
        std::uint32_t lockedModifiers = 0;
        std::int32_t baseGroup = 0;
        std::int32_t latchedGroup = 0;
        std::int32_t lockedGroup = 0;
    };

    XkbKeymap(X11Display& display, int eventBase);
    bool load();
    void handle(_XEvent& event);
    // Reads the keymap again when the server has changed it since it was last read.
    void refresh();
    void applyMask();

    X11Display& display_;
    int eventBase_;
    X11Display::HandlerId handler_ = 0;
    std::unique_ptr<xcb_connection_t, ConnectionClose> connection_;
    std::int32_t deviceId_ = -1;
    std::unique_ptr<xkb_context, ContextRelease> context_;
    std::unique_ptr<xkb_keymap, KeymapRelease> keymap_;
    std::unique_ptr<xkb_state, StateRelease> state_;
    std::unique_ptr<xkb_state, StateRelease> scratch_;  // for trying out modifiers in strokeFor
    Mask mask_;
    std::uint32_t group_ = 0;
    std::uint32_t effectiveModifiers_ = 0;
    std::uint32_t baseModifiers_ = 0;
    std::uint32_t altMask_ = 0;
    std::uint32_t superMask_ = 0;
    std::uint32_t numLockMask_ = 0;
    bool stale_ = false;
    std::uint64_t revision_ = 0;
};

}  // namespace tarvelo::desktop
