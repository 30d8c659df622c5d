// SPDX-License-Identifier: GPL-3.0-or-later
// A plain Xlib window without accessibility, standing for the applications whose text the system can
// reach only by typing keys. It takes the input focus when mapped and keeps the text its key presses
// give, as such applications do: XLookupString's keysym (Xlib's own XKB lookup with the event's group
// and modifiers) as UTF-8, BackSpace deleting the last character, chords with Ctrl, Alt or Super
// inserting nothing. Presses of modifier keys themselves are counted but otherwise ignored.
//
// What it received is published on its window for the tests to read:
//   _TARVELO_TEXT    (UTF8_STRING)  the text;
//   _TARVELO_CHORDS  (UTF8_STRING)  one line per chord pressed, for example "ctrl+alt+space";
//   _TARVELO_KEYS    (UTF8_STRING)  one line per press of a key other than a modifier, in order: the
//                                   modifiers held and the character the press gave, or the keysym's
//                                   name for a key without a visible one, for example "BackSpace",
//                                   "space", "п", "shift+М", "ctrl+alt+space";
//   _TARVELO_PRESSES (CARDINAL)     the number of key presses received.
// WM_CLASS is "tarvelo-x11-window", "TarveloX11Window". It runs until killed or its window is closed.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

void publish(Display* display, Window window, Atom property, Atom type, const std::string& value) {
    XChangeProperty(display, window, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value.data()), static_cast<int>(value.size()));
}

void removeLastCharacter(std::string& text) {
    if (text.empty()) return;
    std::size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.erase(end);
}

// A line of _TARVELO_KEYS.
std::string keyLine(unsigned int state, KeySym keysym) {
    std::string line;
    if ((state & ShiftMask) != 0) line += "shift+";
    if ((state & ControlMask) != 0) line += "ctrl+";
    if ((state & Mod1Mask) != 0) line += "alt+";
    if ((state & Mod4Mask) != 0) line += "super+";
    // The character rather than the keysym: a lent key gives U043F where the layout's key gives
    // Cyrillic_pe, and the application sees the same letter.
    char utf8[8] = {};
    const std::uint32_t character = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
    if (character > 0x20 && character != 0x7F &&
        xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(keysym), utf8, sizeof(utf8)) > 0) {
        return line + utf8 + "\n";
    }
    const char* name = XKeysymToString(keysym);
    return line + (name != nullptr ? name : "?") + "\n";
}

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_key_window: no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, 10, 10, 400, 80, 0, 0, 0xFFFFFF);
    XClassHint hint;
    std::string name = "tarvelo-x11-window";
    std::string className = "TarveloX11Window";
    hint.res_name = name.data();
    hint.res_class = className.data();
    XSetClassHint(display, window, &hint);
    XStoreName(display, window, "Tarvelo X11 key window");
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask | FocusChangeMask);

    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom textProperty = XInternAtom(display, "_TARVELO_TEXT", False);
    const Atom chordsProperty = XInternAtom(display, "_TARVELO_CHORDS", False);
    const Atom keysProperty = XInternAtom(display, "_TARVELO_KEYS", False);
    const Atom pressesProperty = XInternAtom(display, "_TARVELO_PRESSES", False);
    std::string text;
    std::string chords;
    std::string keys;
    long presses = 0;
    publish(display, window, textProperty, utf8, text);
    publish(display, window, chordsProperty, utf8, chords);
    publish(display, window, keysProperty, utf8, keys);
    XChangeProperty(display, window, pressesProperty, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&presses), 1);
    XMapWindow(display, window);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
            case MapNotify:
                XSetInputFocus(display, window, RevertToParent, CurrentTime);
                break;
            case MappingNotify:
                XRefreshKeyboardMapping(&event.xmapping);
                break;
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) return 0;
                break;
            case KeyPress: {
                ++presses;
                XChangeProperty(display, window, pressesProperty, XA_CARDINAL, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(&presses), 1);
                KeySym keysym = NoSymbol;
                char latin1[32];
                XLookupString(&event.xkey, latin1, sizeof(latin1), &keysym, nullptr);
                const unsigned int state = event.xkey.state;
                if (IsModifierKey(keysym)) break;
                keys += keyLine(state, keysym);
                publish(display, window, keysProperty, utf8, keys);
                if ((state & (ControlMask | Mod1Mask | Mod4Mask)) != 0) {
                    const KeySym base = XkbKeycodeToKeysym(display, static_cast<KeyCode>(event.xkey.keycode), 0, 0);
                    const char* baseName = XKeysymToString(base);
                    std::string chord;
                    if ((state & ControlMask) != 0) chord += "ctrl+";
                    if ((state & Mod1Mask) != 0) chord += "alt+";
                    if ((state & Mod4Mask) != 0) chord += "super+";
                    chord += baseName != nullptr ? baseName : "?";
                    chords += chord + "\n";
                    publish(display, window, chordsProperty, utf8, chords);
                    break;
                }
                if (keysym == XK_BackSpace) {
                    removeLastCharacter(text);
                } else {
                    const std::uint32_t character = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
                    if (character < 0x20 || character == 0x7F) break;
                    char utf8Text[8] = {};
                    if (xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(keysym), utf8Text, sizeof(utf8Text)) <= 0) break;
                    text += utf8Text;
                }
                publish(display, window, textProperty, utf8, text);
                break;
            }
            default:
                break;
        }
        XFlush(display);
    }
}
