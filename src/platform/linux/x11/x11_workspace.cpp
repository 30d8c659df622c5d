// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/x11_workspace.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gio/gio.h>

#include <memory>

namespace tarvelo::desktop {
namespace {

using XData = std::unique_ptr<unsigned char, decltype(&XFree)>;

// The property's bytes (format 8) or its first item (format 32); nullptr when the window lacks it.
XData property(Display* display, Window window, const char* name, Atom type, unsigned long& count, int expectedFormat) {
    count = 0;
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None) return XData(nullptr, &XFree);
    Atom actualType = None;
    int format = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, atom, 0, 4096, False, type, &actualType, &format, &count, &remaining, &data) !=
        Success) {
        return XData(nullptr, &XFree);
    }
    XData owned(data, &XFree);
    if (owned == nullptr || actualType != type || format != expectedFormat || count == 0) return XData(nullptr, &XFree);
    return owned;
}

}  // namespace

unsigned long X11Workspace::activeTopLevelWindow() {
    Display* display = display_->get();
    const Window root = display_->rootWindow();
    unsigned long count = 0;
    if (XData active = property(display, root, "_NET_ACTIVE_WINDOW", XA_WINDOW, count, 32)) {
        // Format 32 items are longs in Xlib's memory, whatever the protocol's width.
        const Window window = *reinterpret_cast<const Window*>(active.get());
        if (window != None) return window;
    }
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == None || focus == PointerRoot || focus == root) return None;
    // Up to the child of the root: focus often sits on an inner window of the application.
    for (Window window = focus;;) {
        Window rootReturn = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int childCount = 0;
        if (!XQueryTree(display, window, &rootReturn, &parent, &children, &childCount)) return None;
        if (children != nullptr) XFree(children);
        if (parent == root || parent == None) return window;
        window = parent;
    }
}

std::optional<std::string> X11Workspace::frontmostApplicationIdentifier() {
    if (display_ == nullptr) return std::nullopt;
    Display* display = display_->get();
    // The window may be destroyed between two of these requests; its errors are answered as none.
    X11Display::ErrorTrap trap(*display_);
    const Window window = activeTopLevelWindow();
    if (window == None || trap.failed()) return std::nullopt;
    unsigned long count = 0;
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    if (XData id = property(display, window, "_GTK_APPLICATION_ID", utf8, count, 8)) {
        std::string identifier(reinterpret_cast<const char*>(id.get()), count);
        if (!identifier.empty() && trap.sync()) return identifier;
    }
    // WM_CLASS holds the instance name and then the class name, each ending with a NUL.
    if (XData wmClass = property(display, window, "WM_CLASS", XA_STRING, count, 8)) {
        const std::string both(reinterpret_cast<const char*>(wmClass.get()), count);
        const std::size_t end = both.find('\0');
        if (end != std::string::npos && end + 1 < both.size()) {
            std::string name = both.substr(end + 1);
            name = name.substr(0, name.find('\0'));
            if (!name.empty() && trap.sync()) return name;
        }
    }
    return std::nullopt;
}

bool X11Workspace::open(std::string_view address) {
    const std::string text(address);
    if (g_uri_is_valid(text.c_str(), G_URI_FLAGS_NONE, nullptr) == FALSE) return false;
    GError* error = nullptr;
    const gboolean opened = g_app_info_launch_default_for_uri(text.c_str(), nullptr, &error);
    if (error != nullptr) g_error_free(error);
    return opened != FALSE;
}

}  // namespace tarvelo::desktop
