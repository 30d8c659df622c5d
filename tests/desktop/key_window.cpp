// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest first: Xlib's macros (None, Bool) break its templates.
#include "desktop_environment.h"

#include "key_window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstring>
#include <set>

namespace tarvelo::desktop::testing {
namespace {

constexpr const char* kWindowClass = "TarveloX11Window";

std::set<Window> keyWindows(Display* display) {
    std::set<Window> found;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        XClassHint hint{};
        if (XGetClassHint(display, children[i], &hint) == 0) continue;
        if (hint.res_class != nullptr && std::strcmp(hint.res_class, kWindowClass) == 0) found.insert(children[i]);
        if (hint.res_name != nullptr) XFree(hint.res_name);
        if (hint.res_class != nullptr) XFree(hint.res_class);
    }
    if (children != nullptr) XFree(children);
    return found;
}

Window focusedWindow(Display* display) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

}  // namespace

std::unique_ptr<KeyWindow> KeyWindow::start(Display* display) {
    const std::set<Window> before = keyWindows(display);
    const std::string program = std::string(TARVELO_TEST_APPS_DIR) + "/x11_key_window";
    gchar* argv[] = {const_cast<gchar*>(program.c_str()), nullptr};
    GPid pid = 0;
    if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr)) return nullptr;
    std::unique_ptr<KeyWindow> started(new KeyWindow(display, pid));
    const bool shown = iterateUntil([&] {
        for (const Window window : keyWindows(display)) {
            if (before.count(window) == 0) started->window_ = window;
        }
        return started->window_ != 0 && focusedWindow(display) == started->window_;
    });
    if (!shown) return nullptr;
    return started;
}

KeyWindow::~KeyWindow() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    g_spawn_close_pid(pid_);
}

bool KeyWindow::focus() {
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
    return iterateUntil([&] { return focusedWindow(display_) == window_; });
}

std::string KeyWindow::property(const char* name) const {
    const Atom atom = XInternAtom(display_, name, False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window_, atom, 0, 1 << 20, False, AnyPropertyType, &type, &format, &count, &remaining,
                           &data) != Success ||
        data == nullptr) {
        return {};
    }
    std::string value;
    if (format == 8) value.assign(reinterpret_cast<const char*>(data), count);
    if (format == 32 && count > 0) value = std::to_string(*reinterpret_cast<const long*>(data));
    XFree(data);
    return value;
}

std::string KeyWindow::text() const { return property("_TARVELO_TEXT"); }
std::string KeyWindow::chords() const { return property("_TARVELO_CHORDS"); }
std::string KeyWindow::keys() const { return property("_TARVELO_KEYS"); }

long KeyWindow::presses() const {
    const std::string count = property("_TARVELO_PRESSES");
    return count.empty() ? 0 : std::stol(count);
}

bool KeyWindow::waitForText(const std::string& expected, double seconds) const {
    return iterateUntil([&] { return text() == expected; }, seconds);
}

}  // namespace tarvelo::desktop::testing
