// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/xkb_keymap.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <array>

namespace tarvelo::desktop {
namespace {

constexpr std::uint32_t kShiftMask = ShiftMask;

// The state components a key's text depends on; pointer buttons and the like are left out so that the
// server does not wake the backend for them.
constexpr unsigned int kStateDetails = XkbModifierStateMask | XkbModifierBaseMask | XkbModifierLatchMask |
                                       XkbModifierLockMask | XkbGroupStateMask | XkbGroupBaseMask |
                                       XkbGroupLatchMask | XkbGroupLockMask;
constexpr unsigned int kMapEvents = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;

xkb_keysym_t keysymFor(char32_t character) {
    // Text carries line breaks and tabs as characters; the keyboard types them with these keys.
    if (character == U'\n' || character == U'\r') return XKB_KEY_Return;
    if (character == U'\t') return XKB_KEY_Tab;
    return xkb_utf32_to_keysym(static_cast<std::uint32_t>(character));
}

}  // namespace

void XkbKeymap::ConnectionClose::operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
void XkbKeymap::ContextRelease::operator()(xkb_context* context) const { xkb_context_unref(context); }
void XkbKeymap::KeymapRelease::operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
void XkbKeymap::StateRelease::operator()(xkb_state* state) const { xkb_state_unref(state); }

std::unique_ptr<XkbKeymap> XkbKeymap::create(X11Display& display) {
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(display.get(), &opcode, &eventBase, &errorBase, &major, &minor)) return nullptr;
    std::unique_ptr<XkbKeymap> keymap(new XkbKeymap(display, eventBase));
    if (!keymap->load()) return nullptr;
    // The first state comes from the server; from here on its notifications keep it.
    std::unique_ptr<xkb_state, StateRelease> state(
        xkb_x11_state_new_from_device(keymap->keymap_.get(), keymap->connection_.get(), keymap->deviceId_));
    if (state == nullptr) return nullptr;
    Mask& mask = keymap->mask_;
    mask.baseModifiers = xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_DEPRESSED);
    mask.latchedModifiers = xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_LATCHED);
    mask.lockedModifiers = xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_LOCKED);
    mask.baseGroup = static_cast<std::int32_t>(xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_DEPRESSED));
    mask.latchedGroup = static_cast<std::int32_t>(xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_LATCHED));
    mask.lockedGroup = static_cast<std::int32_t>(xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_LOCKED));
    keymap->applyMask();

    Display* x = display.get();
    XkbSelectEventDetails(x, XkbUseCoreKbd, XkbStateNotify, kStateDetails, kStateDetails);
    XkbSelectEvents(x, XkbUseCoreKbd, kMapEvents, kMapEvents);
    XkbKeymap* self = keymap.get();
    keymap->handler_ = display.addHandler([self](XEvent& event) { self->handle(event); });
    display.flush();
    return keymap;
}

XkbKeymap::XkbKeymap(X11Display& display, int eventBase) : display_(display), eventBase_(eventBase) {}

XkbKeymap::~XkbKeymap() {
    if (handler_ != 0) display_.removeHandler(handler_);
}

bool XkbKeymap::load() {
    if (connection_ == nullptr) {
        connection_.reset(xcb_connect(DisplayString(display_.get()), nullptr));
        if (xcb_connection_has_error(connection_.get()) != 0) return false;
        if (!xkb_x11_setup_xkb_extension(connection_.get(), XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                         XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
            return false;
        }
        deviceId_ = xkb_x11_get_core_keyboard_device_id(connection_.get());
        if (deviceId_ < 0) return false;
        context_.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
        if (context_ == nullptr) return false;
    }
    std::unique_ptr<xkb_keymap, KeymapRelease> keymap(
        xkb_x11_keymap_new_from_device(context_.get(), connection_.get(), deviceId_, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (keymap == nullptr) return false;
    std::unique_ptr<xkb_state, StateRelease> state(xkb_state_new(keymap.get()));
    std::unique_ptr<xkb_state, StateRelease> scratch(xkb_state_new(keymap.get()));
    if (state == nullptr || scratch == nullptr) return false;
    keymap_ = std::move(keymap);
    state_ = std::move(state);
    scratch_ = std::move(scratch);

    Display* x = display_.get();
    altMask_ = XkbKeysymToModifiers(x, XK_Alt_L);
    if (altMask_ == 0) altMask_ = XkbKeysymToModifiers(x, XK_Meta_L);
    superMask_ = XkbKeysymToModifiers(x, XK_Super_L);
    numLockMask_ = XkbKeysymToModifiers(x, XK_Num_Lock);
    stale_ = false;
    ++revision_;
    applyMask();
    return true;
}

void XkbKeymap::refresh() {
    // A keymap that cannot be read again leaves the old one in use: better slightly wrong than none.
    if (stale_ && !load()) stale_ = false;
}

void XkbKeymap::applyMask() {
    if (state_ == nullptr) return;
    xkb_state_update_mask(state_.get(), mask_.baseModifiers, mask_.latchedModifiers, mask_.lockedModifiers,
                          static_cast<xkb_layout_index_t>(mask_.baseGroup), static_cast<xkb_layout_index_t>(mask_.latchedGroup),
                          static_cast<xkb_layout_index_t>(mask_.lockedGroup));
    group_ = xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE);
    effectiveModifiers_ = xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_EFFECTIVE);
    baseModifiers_ = mask_.baseModifiers;
}

void XkbKeymap::handle(XEvent& event) {
    if (event.type != eventBase_) return;
    const auto& xkb = reinterpret_cast<const XkbEvent&>(event);
    switch (xkb.any.xkb_type) {
        case XkbStateNotify:
            mask_ = {xkb.state.base_mods,  xkb.state.latched_mods,  xkb.state.locked_mods,
                     xkb.state.base_group, xkb.state.latched_group, xkb.state.locked_group};
            applyMask();
            break;
        case XkbNewKeyboardNotify:
        case XkbMapNotify:
            // Read on next use: a burst of map changes costs one reading.
            stale_ = true;
            break;
        default:
            break;
    }
}

std::string XkbKeymap::text(std::uint32_t keycode) {
    refresh();
    std::array<char, 64> buffer{};
    const int size = xkb_state_key_get_utf8(state_.get(), keycode, buffer.data(), buffer.size());
    if (size <= 0) return {};
    return std::string(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(size), buffer.size() - 1));
}

bool XkbKeymap::isModifierKey(std::uint32_t keycode) {
    refresh();
    const xkb_keysym_t keysym = xkb_state_key_get_one_sym(state_.get(), keycode);
    return (keysym >= XKB_KEY_Shift_L && keysym <= XKB_KEY_Hyper_R) ||          // Shift ... Super, Hyper, locks
           (keysym >= XKB_KEY_ISO_Lock && keysym <= XKB_KEY_ISO_Level5_Lock) ||  // AltGr, group switches
           keysym == XKB_KEY_Mode_switch || keysym == XKB_KEY_Num_Lock;
}

std::optional<std::uint32_t> XkbKeymap::keycode(std::string_view keyName) {
    refresh();
    const std::string name(keyName);
    const xkb_keycode_t code = xkb_keymap_key_by_name(keymap_.get(), name.c_str());
    if (code == XKB_KEYCODE_INVALID) return std::nullopt;
    return code;
}

std::optional<XkbKeymap::Stroke> XkbKeymap::strokeFor(char32_t character, const std::vector<std::uint32_t>& skipped) {
    refresh();
    const xkb_keysym_t keysym = keysymFor(character);
    if (keysym == XKB_KEY_NoSymbol) return std::nullopt;
    xkb_state* scratch = scratch_.get();
    const xkb_keycode_t first = xkb_keymap_min_keycode(keymap_.get());
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap_.get());
    const auto isSkipped = [&](xkb_keycode_t code) { return std::find(skipped.begin(), skipped.end(), code) != skipped.end(); };

    // The key's own keysym first (so the digit row wins over the keypad), then any key whose text is
    // the character; each without Shift first.
    for (const bool byText : {false, true}) {
        for (const bool shift : {false, true}) {
            xkb_state_update_mask(scratch, shift ? kShiftMask : 0, mask_.latchedModifiers, mask_.lockedModifiers,
                                  static_cast<xkb_layout_index_t>(mask_.baseGroup),
                                  static_cast<xkb_layout_index_t>(mask_.latchedGroup),
                                  static_cast<xkb_layout_index_t>(mask_.lockedGroup));
            for (xkb_keycode_t code = first; code <= last; ++code) {
                const bool matches = byText ? xkb_state_key_get_utf32(scratch, code) == static_cast<std::uint32_t>(character)
                                            : xkb_state_key_get_one_sym(scratch, code) == keysym;
                if (matches && !isSkipped(code)) return Stroke{code, shift};
            }
        }
    }
    return std::nullopt;
}

std::vector<std::uint32_t> XkbKeymap::keycodesWithoutSymbols() {
    refresh();
    std::vector<std::uint32_t> codes;
    const xkb_keycode_t first = xkb_keymap_min_keycode(keymap_.get());
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap_.get());
    for (xkb_keycode_t code = first; code <= last; ++code) {
        if (xkb_keymap_num_layouts_for_key(keymap_.get(), code) == 0) codes.push_back(code);
    }
    return codes;
}

std::vector<std::string> XkbKeymap::layoutNames() const {
    Display* x = display_.get();
    const Atom property = XInternAtom(x, "_XKB_RULES_NAMES", True);
    if (property == None) return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(x, display_.rootWindow(), property, 0, 1024, False, XA_STRING, &type, &format, &count,
                           &remaining, &raw) != Success) {
        return {};
    }
    const std::unique_ptr<unsigned char, decltype(&XFree)> data(raw, &XFree);
    if (data == nullptr || format != 8) return {};
    // Rules, model, layouts, variants, options: each ends with a NUL.
    const std::string_view all(reinterpret_cast<const char*>(data.get()), count);
    std::size_t start = 0;
    for (int field = 0; field < 2; ++field) {
        const std::size_t end = all.find('\0', start);
        if (end == std::string_view::npos) return {};
        start = end + 1;
    }
    std::string_view layouts = all.substr(std::min(start, all.size()));
    layouts = layouts.substr(0, layouts.find('\0'));
    std::vector<std::string> names;
    while (!layouts.empty()) {
        const std::size_t comma = layouts.find(',');
        names.emplace_back(layouts.substr(0, comma));
        if (comma == std::string_view::npos) break;
        layouts.remove_prefix(comma + 1);
    }
    return names;
}

std::optional<std::string> XkbKeymap::currentLayoutName() const {
    std::vector<std::string> names = layoutNames();
    if (group_ >= names.size() || names[group_].empty()) return std::nullopt;
    return std::move(names[group_]);
}

bool XkbKeymap::lockGroupOfLayout(std::string_view layoutName) {
    refresh();
    const std::vector<std::string> names = layoutNames();
    // The names may list more layouts than the keymap holds groups (XKB keeps four at most).
    const std::size_t groups = std::min<std::size_t>(names.size(), xkb_keymap_num_layouts(keymap_.get()));
    const auto found = std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(groups), layoutName);
    if (found == names.begin() + static_cast<std::ptrdiff_t>(groups)) return false;
    const auto group = static_cast<unsigned int>(found - names.begin());
    X11Display::ErrorTrap trap(display_);
    if (!XkbLockGroup(display_.get(), XkbUseCoreKbd, group)) return false;
    return trap.sync();
}

std::uint64_t XkbKeymap::revision() {
    refresh();
    return revision_;
}

}  // namespace tarvelo::desktop
