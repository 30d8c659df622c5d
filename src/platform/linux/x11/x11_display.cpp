// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11/x11_display.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <glib.h>

#include <algorithm>
#include <utility>

namespace tarvelo::desktop {
namespace {

// The traps that are open, innermost last. Xlib's error handler is process-wide and everything runs on
// the one main thread, so a plain list serves.
struct OpenTrap {
    Display* display;
    unsigned long firstSerial;
    int* errorCode;
};

std::vector<OpenTrap>& openTraps() {
    static std::vector<OpenTrap> traps;
    return traps;
}

// Xlib's default handler prints and ends the process; an error of a request that no trap covers (a
// window that went away between two requests) is not worth that, so it is dropped.
int recordError(Display* display, XErrorEvent* error) {
    std::vector<OpenTrap>& traps = openTraps();
    for (auto trap = traps.rbegin(); trap != traps.rend(); ++trap) {
        if (trap->display == display && error->serial >= trap->firstSerial) {
            if (*trap->errorCode == 0) *trap->errorCode = error->error_code;
            return 0;
        }
    }
    return 0;
}

// Events can reach Xlib's queue without the socket becoming readable again (any call that waits for
// a reply reads what arrived before it), so the source is also ready while the queue holds events.
struct DisplaySource {
    GSource base;
    X11Display* owner;
    gpointer descriptor;
};

gboolean prepareSource(GSource* source, gint* timeout) {
    *timeout = -1;
    const auto* display = reinterpret_cast<DisplaySource*>(source);
    return XEventsQueued(display->owner->get(), QueuedAlready) > 0;
}

gboolean checkSource(GSource* source) {
    auto* display = reinterpret_cast<DisplaySource*>(source);
    if ((g_source_query_unix_fd(source, display->descriptor) & G_IO_IN) != 0) return TRUE;
    return XEventsQueued(display->owner->get(), QueuedAlready) > 0;
}

gboolean dispatchSource(GSource* source, GSourceFunc, gpointer) {
    reinterpret_cast<DisplaySource*>(source)->owner->dispatchPending();
    return G_SOURCE_CONTINUE;
}

GSourceFuncs displaySourceFuncs = {prepareSource, checkSource, dispatchSource, nullptr, nullptr, nullptr};

}  // namespace

void X11Display::DisplayClose::operator()(_XDisplay* display) const { XCloseDisplay(display); }

void X11Display::SourceRelease::operator()(_GSource* source) const {
    g_source_destroy(source);
    g_source_unref(source);
}

std::unique_ptr<X11Display> X11Display::open() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    static const bool installed = [] {
        XSetErrorHandler(recordError);
        return true;
    }();
    static_cast<void>(installed);
    return std::unique_ptr<X11Display>(new X11Display(display));
}

X11Display::X11Display(_XDisplay* display) : display_(display) {
    int event = 0;
    int error = 0;
    int opcode = 0;
    if (XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        // Announcing 2.2 is what makes the server send raw events while another client holds a grab.
        int major = 2;
        int minor = 2;
        if (XIQueryVersion(display, &major, &minor) == Success && (major > 2 || (major == 2 && minor >= 2))) {
            hasXInput22_ = true;
            xinputOpcode_ = opcode;
        }
    }
    int major = 0;
    int minor = 0;
    hasXTest_ = XTestQueryExtension(display, &event, &error, &major, &minor) != 0;

    GSource* source = g_source_new(&displaySourceFuncs, sizeof(DisplaySource));
    auto* watched = reinterpret_cast<DisplaySource*>(source);
    watched->owner = this;
    watched->descriptor = g_source_add_unix_fd(source, ConnectionNumber(display), G_IO_IN);
    g_source_attach(source, nullptr);
    source_.reset(source);
}

X11Display::~X11Display() = default;

unsigned long X11Display::rootWindow() const { return DefaultRootWindow(display_.get()); }

void X11Display::flush() { XFlush(display_.get()); }

void X11Display::sync() { XSync(display_.get(), False); }

X11Display::HandlerId X11Display::addHandler(Handler handler) {
    const HandlerId id = nextHandler_++;
    if (dispatching_ > 0) {
        // Appending now could move the handler that is running; it joins when the dispatch ends.
        pendingHandlers_.push_back({id, std::move(handler)});
    } else {
        handlers_.push_back({id, std::move(handler)});
    }
    return id;
}

void X11Display::removeHandler(HandlerId id) {
    const auto matches = [id](const Entry& entry) { return entry.id == id; };
    pendingHandlers_.erase(std::remove_if(pendingHandlers_.begin(), pendingHandlers_.end(), matches),
                           pendingHandlers_.end());
    if (dispatching_ > 0) {
        // A running handler must stay alive until it returns: mark it, drop it after the dispatch.
        for (Entry& entry : handlers_) {
            if (entry.id == id) entry.id = 0;
        }
        return;
    }
    handlers_.erase(std::remove_if(handlers_.begin(), handlers_.end(), matches), handlers_.end());
}

void X11Display::dispatchPending() {
    Display* display = display_.get();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        const bool hasData = event.type == GenericEvent && XGetEventData(display, &event.xcookie);
        dispatch(event);
        if (hasData) XFreeEventData(display, &event.xcookie);
    }
}

void X11Display::dispatch(_XEvent& event) {
    ++dispatching_;
    for (const Entry& entry : handlers_) {
        if (entry.id != 0) entry.handler(event);
    }
    if (--dispatching_ > 0) return;
    handlers_.erase(std::remove_if(handlers_.begin(), handlers_.end(), [](const Entry& entry) { return entry.id == 0; }),
                    handlers_.end());
    for (Entry& entry : pendingHandlers_) handlers_.push_back(std::move(entry));
    pendingHandlers_.clear();
}

X11Display::ErrorTrap::ErrorTrap(X11Display& display) : display_(display), firstSerial_(NextRequest(display.get())) {
    openTraps().push_back({display.get(), firstSerial_, &errorCode_});
}

X11Display::ErrorTrap::~ErrorTrap() {
    // Errors of trapped requests still on their way would otherwise reach no trap.
    if (NextRequest(display_.get()) != syncedSerial_) XSync(display_.get(), False);
    std::vector<OpenTrap>& traps = openTraps();
    traps.erase(std::remove_if(traps.begin(), traps.end(), [this](const OpenTrap& trap) { return trap.errorCode == &errorCode_; }),
                traps.end());
}

bool X11Display::ErrorTrap::sync() {
    XSync(display_.get(), False);
    syncedSerial_ = NextRequest(display_.get());
    return errorCode_ == 0;
}

}  // namespace tarvelo::desktop
