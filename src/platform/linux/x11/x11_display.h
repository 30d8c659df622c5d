// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Xlib's handle types, declared here so that users of this header need not see Xlib.h and its macros
// (None, Bool, Status, ...).
struct _XDisplay;
union _XEvent;
struct _GSource;

namespace tarvelo::desktop {

// The backend's own connection to the X server (XOpenDisplay of $DISPLAY), watched on GLib's default
// main context: every event that arrives is handed to the registered handlers, in order, on the thread
// that iterates that context (Qt's main thread in the application, the test's own in the tests).
//
// X errors never end the process: a process-wide handler records them for the ErrorTrap that covers the
// failing request and ignores the others.
class X11Display {
public:
    // The connection to $DISPLAY; nullptr when there is no display to connect to.
    static std::unique_ptr<X11Display> open();
    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    _XDisplay* get() const { return display_.get(); }
    unsigned long rootWindow() const;

    // Sends what is buffered without waiting.
    void flush();
    // Sends what is buffered and waits until the server has handled it.
    void sync();

    // The "Input Monitoring" permission of the Linux desktop: XInput 2.2 (raw key events while another
    // client holds a grab) and XTest (posting keys) are both offered by the server.
    bool hasInputExtensions() const { return hasXInput22_ && hasXTest_; }
    // XInput's major opcode (the extension of its generic events); 0 without XInput 2.2.
    int xinputOpcode() const { return xinputOpcode_; }

    // Receives every event; for XInput's generic events the cookie data has been fetched. Handlers run
    // in the order they were added and may add or remove handlers (their own included) while they run.
    using Handler = std::function<void(_XEvent& event)>;
    using HandlerId = std::uint64_t;
    HandlerId addHandler(Handler handler);
    void removeHandler(HandlerId id);

    // Handles every event that has arrived or sits in Xlib's queue. The main loop calls it; it is public
    // so that a caller that waits for an answer can let events through.
    void dispatchPending();

    // Records the X errors of the requests sent on one display while it exists. Traps nest; an error
    // goes to the innermost trap of its display that was made before the failing request was sent.
    class ErrorTrap {
    public:
        explicit ErrorTrap(X11Display& display);
        ~ErrorTrap();
        ErrorTrap(const ErrorTrap&) = delete;
        ErrorTrap& operator=(const ErrorTrap&) = delete;

        // Waits until the server has handled every request so far; true when none of the trapped ones
        // failed.
        bool sync();
        // The first trapped error's code (BadAccess, BadValue, ...), 0 when there was none so far.
        int errorCode() const { return errorCode_; }
        bool failed() const { return errorCode_ != 0; }

    private:
        friend class X11Display;
        X11Display& display_;
        unsigned long firstSerial_;
        unsigned long syncedSerial_ = 0;
        int errorCode_ = 0;
    };

private:
    struct DisplayClose {
        void operator()(_XDisplay* display) const;
    };
    struct SourceRelease {
        void operator()(_GSource* source) const;
    };
    struct Entry {
        HandlerId id;
        Handler handler;
    };

    explicit X11Display(_XDisplay* display);
    void dispatch(_XEvent& event);

    std::unique_ptr<_XDisplay, DisplayClose> display_;
    std::unique_ptr<_GSource, SourceRelease> source_;
    std::vector<Entry> handlers_;
    std::vector<Entry> pendingHandlers_;  // added while a dispatch runs
    HandlerId nextHandler_ = 1;
    int dispatching_ = 0;
    bool hasXInput22_ = false;
    bool hasXTest_ = false;
    int xinputOpcode_ = 0;
};

}  // namespace tarvelo::desktop
