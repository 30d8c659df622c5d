// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_accessibility_api.h"

#include <unistd.h>

#include <atspi/atspi.h>
#include <glib.h>

#include "platform/linux/atspi/atspi_connection.h"
#include "platform/linux/atspi/atspi_handles.h"
#include "platform/linux/atspi/atspi_text_element.h"

namespace tarvelo::desktop {
namespace {

using namespace atspi_handles;

constexpr const char* kFocusEvent = "object:state-changed:focused";
// A search visits at most this many objects, so that a huge tree (a spreadsheet, a long web page)
// cannot stall the main thread.
constexpr int kSearchBudget = 400;
constexpr int kSearchDepth = 24;

bool hasState(AtspiStateSet* states, AtspiStateType state) {
    return states != nullptr && atspi_state_set_contains(states, state) != FALSE;
}

AccessiblePtr childAt(AtspiAccessible* parent, gint index) {
    ErrorSlot error;
    AccessiblePtr child(atspi_accessible_get_child_at_index(parent, index, error.out()));
    if (error.failed()) return nullptr;
    return child;
}

gint childCount(AtspiAccessible* parent) {
    ErrorSlot error;
    const gint count = atspi_accessible_get_child_count(parent, error.out());
    return error.failed() ? 0 : count;
}

// Whether `node` belongs to this process: Tarvelo's own windows. Their text is never Tarvelo's to
// correct, and asking them anything would wait on our own main thread, which is busy asking.
bool isOwnProcess(AtspiAccessible* node) {
    ErrorSlot error;
    const guint process = atspi_accessible_get_process_id(node, error.out());
    return !error.failed() && process == static_cast<guint>(getpid());
}

// The focused object at or under `node`, looking only into what is showing.
AccessiblePtr findFocused(AtspiAccessible* node, int depth, int& budget) {
    if (--budget < 0 || depth > kSearchDepth) return nullptr;
    const StateSetPtr states(atspi_accessible_get_state_set(node));
    if (hasState(states.get(), ATSPI_STATE_FOCUSED)) return ref(node);
    // The descendants of a list or table that manages them are made on demand, possibly thousands.
    if (!hasState(states.get(), ATSPI_STATE_SHOWING) || hasState(states.get(), ATSPI_STATE_MANAGES_DESCENDANTS)) {
        return nullptr;
    }
    const gint count = childCount(node);
    for (gint i = 0; i < count && budget > 0; ++i) {
        const AccessiblePtr child = childAt(node, i);
        if (child == nullptr) continue;
        if (AccessiblePtr found = findFocused(child.get(), depth + 1, budget)) return found;
    }
    return nullptr;
}

// The focused object in the active window of any application, by walking the tree.
AccessiblePtr searchFocus() {
    const AccessiblePtr desktop(atspi_get_desktop(0));
    if (desktop == nullptr) return nullptr;
    int budget = kSearchBudget;
    const gint applications = childCount(desktop.get());
    for (gint a = 0; a < applications && budget > 0; ++a) {
        const AccessiblePtr application = childAt(desktop.get(), a);
        if (application == nullptr || isOwnProcess(application.get())) continue;
        const gint windows = childCount(application.get());
        for (gint w = 0; w < windows && budget > 0; ++w) {
            const AccessiblePtr window = childAt(application.get(), w);
            if (window == nullptr) continue;
            const StateSetPtr states(atspi_accessible_get_state_set(window.get()));
            // Keyboard focus is in the active window; the others keep a focused object of their own.
            if (!hasState(states.get(), ATSPI_STATE_ACTIVE)) continue;
            if (AccessiblePtr found = findFocused(window.get(), 0, budget)) return found;
        }
    }
    return nullptr;
}

}  // namespace

struct AtspiAccessibilityApi::Tracker {
    Tracker() = default;
    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;

    ~Tracker() {
        if (listener != nullptr) {
            ErrorSlot error;
            atspi_event_listener_deregister(listener.get(), kFocusEvent, error.out());
        }
    }

    // Connects and starts listening when it has not yet; answers whether it is connected.
    bool connect() {
        if (connected) return true;
        lastAttempt = g_get_monotonic_time();
        if (!atspi_connection::ensureConnected()) return false;
        connected = true;
        listener.reset(atspi_event_listener_new(&Tracker::onFocusEvent, this, nullptr));
        ErrorSlot error;
        // Without the listener the search still finds the focus, only more slowly.
        atspi_event_listener_register(listener.get(), kFocusEvent, error.out());
        focused = searchFocus();
        return true;
    }

    bool mayTryAgain() const {
        return g_get_monotonic_time() - lastAttempt >= static_cast<gint64>(kSearchInterval * G_USEC_PER_SEC);
    }

    static void onFocusEvent(AtspiEvent* event, void* data) {
        const EventPtr owned(event);
        auto* tracker = static_cast<Tracker*>(data);
        if (event->source == nullptr) return;
        if (event->detail1 != 0) {
            // GTK sends each focus event twice; the second finds the same object.
            if (tracker->focused.get() == event->source) return;
            // In our own windows there is nothing to track.
            tracker->focused = isOwnProcess(event->source) ? nullptr : ref(event->source);
        } else if (tracker->focused.get() == event->source && !tracker->keyboardHeld()) {
            // GTK takes our own grab of a shortcut for a loss of focus; its focus comes back with the
            // key's release.
            tracker->focused.reset();
        }
    }

    KeyboardHeld keyboardHeld;

    bool connected = false;
    ObjectPtr<AtspiEventListener> listener;
    AccessiblePtr focused;
    // When the last connection attempt or search was made (monotonic microseconds).
    gint64 lastAttempt = 0;
};

AtspiAccessibilityApi::AtspiAccessibilityApi(KeyboardHeld keyboardHeld) : tracker_(std::make_unique<Tracker>()) {
    tracker_->keyboardHeld = std::move(keyboardHeld);
    tracker_->connect();
}

AtspiAccessibilityApi::~AtspiAccessibilityApi() = default;

std::shared_ptr<AccessibilityElement> AtspiAccessibilityApi::focusedElement() {
    Tracker& tracker = *tracker_;
    if (!tracker.connected && !(tracker.mayTryAgain() && tracker.connect())) return nullptr;
    // A reference of its own: the requests below may deliver focus events that replace the tracked one.
    AccessiblePtr candidate = ref(tracker.focused.get());
    if (candidate == nullptr && tracker.mayTryAgain()) {
        tracker.lastAttempt = g_get_monotonic_time();
        candidate = searchFocus();
        if (tracker.focused == nullptr) tracker.focused = ref(candidate.get());
    }
    if (candidate == nullptr) return nullptr;

    const StateSetPtr states(atspi_accessible_get_state_set(candidate.get()));
    // While our own grab holds the keyboard, GTK reports its field unfocused: the tracked object is
    // still where the user types.
    const bool held = tracker.keyboardHeld() && tracker.focused.get() == candidate.get();
    if (!held && !hasState(states.get(), ATSPI_STATE_FOCUSED)) {
        // It lost focus without saying so: its application ended, or the event was missed.
        if (tracker.focused.get() == candidate.get()) tracker.focused.reset();
        return nullptr;
    }
    return AtspiTextElement::create(candidate.get(), states.get());
}

}  // namespace tarvelo::desktop
