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
// A search ends after this long, so that a huge tree (a spreadsheet, a long web page, a slow
// application) cannot stall the main thread; what it has not reached by then is not found. Each step
// is a round trip to the application, which takes several milliseconds on a busy machine: at 80 ms a
// GTK 4 editor's field was never reached while the machine was loaded. The search runs only while no
// focus event has named the field, so the longer bound is rarely paid.
constexpr gint64 kSearchTime = 250 * 1000;  // microseconds
constexpr int kSearchDepth = 32;

// When a search must give up (monotonic microseconds).
struct Deadline {
    gint64 end = 0;
    static Deadline fromNow() { return Deadline{g_get_monotonic_time() + kSearchTime}; }
    bool passed() const { return g_get_monotonic_time() >= end; }
};

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

bool hasText(AtspiAccessible* node) {
    const ObjectPtr<AtspiText> text(atspi_accessible_get_text_iface(node));
    return text != nullptr;
}

// Whether `node` is editable text with the caret in it. Toolkits that nest text (a web document and its
// paragraphs, a word processor's page) give -1 to the parts the caret is not in.
bool holdsCaret(AtspiAccessible* node, AtspiStateSet* states) {
    if (!hasState(states, ATSPI_STATE_EDITABLE)) return false;
    const ObjectPtr<AtspiText> text(atspi_accessible_get_text_iface(node));
    if (text == nullptr) return false;
    ErrorSlot error;
    const gint caret = atspi_text_get_caret_offset(text.get(), error.out());
    return !error.failed() && caret >= 0;
}

// Whether `ancestor` is `node` or one of the objects that contain it.
bool contains(AtspiAccessible* ancestor, AtspiAccessible* node) {
    AccessiblePtr current = ref(node);
    for (int depth = 0; current != nullptr && depth <= kSearchDepth; ++depth) {
        if (current.get() == ancestor) return true;
        ErrorSlot error;
        current.reset(atspi_accessible_get_parent(current.get(), error.out()));
        if (error.failed()) return false;
    }
    return false;
}

// The focused object at or under `node`. GTK 4 marks its containers visible but not showing, so either
// state lets the search in.
AccessiblePtr findFocused(AtspiAccessible* node, int depth, const Deadline& deadline) {
    if (depth > kSearchDepth || deadline.passed()) return nullptr;
    const StateSetPtr states(atspi_accessible_get_state_set(node));
    if (hasState(states.get(), ATSPI_STATE_FOCUSED)) return ref(node);
    if (!hasState(states.get(), ATSPI_STATE_SHOWING) && !hasState(states.get(), ATSPI_STATE_VISIBLE)) return nullptr;
    // The descendants of a list or table that manages them are made on demand, possibly thousands.
    if (hasState(states.get(), ATSPI_STATE_MANAGES_DESCENDANTS)) return nullptr;
    const gint count = childCount(node);
    for (gint i = 0; i < count && !deadline.passed(); ++i) {
        const AccessiblePtr child = childAt(node, i);
        if (child == nullptr) continue;
        if (AccessiblePtr found = findFocused(child.get(), depth + 1, deadline)) return found;
    }
    return nullptr;
}

// The focused object in the active window of any application, by walking the tree.
AccessiblePtr searchFocus() {
    const AccessiblePtr desktop(atspi_get_desktop(0));
    if (desktop == nullptr) return nullptr;
    const Deadline deadline = Deadline::fromNow();
    const gint applications = childCount(desktop.get());
    for (gint a = 0; a < applications && !deadline.passed(); ++a) {
        const AccessiblePtr application = childAt(desktop.get(), a);
        if (application == nullptr || isOwnProcess(application.get())) continue;
        const gint windows = childCount(application.get());
        for (gint w = 0; w < windows && !deadline.passed(); ++w) {
            const AccessiblePtr window = childAt(application.get(), w);
            if (window == nullptr) continue;
            const StateSetPtr states(atspi_accessible_get_state_set(window.get()));
            // Keyboard focus is in the active window; the others keep a focused object of their own.
            if (!hasState(states.get(), ATSPI_STATE_ACTIVE)) continue;
            if (AccessiblePtr found = findFocused(window.get(), 0, deadline)) return found;
        }
    }
    return nullptr;
}

// The text that holds the caret at or under the focused object: a web document or a word processor's
// page has focus while the text typed sits in one of its paragraphs. The focused object itself when no
// part of it holds the caret.
AccessiblePtr caretHolder(AtspiAccessible* focused) {
    const Deadline deadline = Deadline::fromNow();
    AccessiblePtr current = ref(focused);
    for (int depth = 0; depth < kSearchDepth && !deadline.passed(); ++depth) {
        AccessiblePtr next;
        const gint count = childCount(current.get());
        for (gint i = 0; i < count && next == nullptr && !deadline.passed(); ++i) {
            AccessiblePtr child = childAt(current.get(), i);
            if (child == nullptr) continue;
            // Only text: Qt's text area reports its viewport, a plain widget, focused too.
            if (!hasText(child.get())) continue;
            const StateSetPtr states(atspi_accessible_get_state_set(child.get()));
            if (hasState(states.get(), ATSPI_STATE_FOCUSED) || holdsCaret(child.get(), states.get())) {
                next = std::move(child);
            }
        }
        if (next == nullptr) break;
        current = std::move(next);
    }
    return current;
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
            // A word processor announces the page around the paragraph after the paragraph itself: an
            // object without text does not replace the text inside it.
            if (tracker->focused != nullptr && !hasText(event->source) &&
                contains(event->source, tracker->focused.get())) {
                return;
            }
            // In our own windows there is nothing to track.
            tracker->focused = isOwnProcess(event->source) ? nullptr : ref(event->source);
        } else if (tracker->focused.get() == event->source && !tracker->keyboardHeld()) {
            // GTK takes our own grab of a shortcut for a loss of focus; its focus comes back with the
            // key's release.
            tracker->focused.reset();
        }
    }

    KeyboardHeld keyboardHeld;

    // The text holding the caret under `focused` when that is not `focused` itself; checked before use.
    AccessiblePtr holderFor(AtspiAccessible* candidate) {
        if (holder != nullptr && holderOf.get() == candidate) {
            const StateSetPtr states(atspi_accessible_get_state_set(holder.get()));
            if (holdsCaret(holder.get(), states.get())) return ref(holder.get());
        }
        AccessiblePtr found = caretHolder(candidate);
        if (found.get() != candidate) {
            holder = ref(found.get());
            holderOf = ref(candidate);
        } else {
            holder.reset();
            holderOf.reset();
        }
        return found;
    }

    bool connected = false;
    ObjectPtr<AtspiEventListener> listener;
    AccessiblePtr focused;
    AccessiblePtr holder;
    AccessiblePtr holderOf;
    // When the last connection attempt or search was made (monotonic microseconds).
    gint64 lastAttempt = 0;
};

AtspiAccessibilityApi::AtspiAccessibilityApi(KeyboardHeld keyboardHeld, bool connectNow)
    : tracker_(std::make_unique<Tracker>()) {
    tracker_->keyboardHeld = std::move(keyboardHeld);
    if (connectNow) tracker_->connect();
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
    const AccessiblePtr holder = tracker.holderFor(candidate.get());
    if (holder.get() == candidate.get()) return AtspiTextElement::create(candidate.get(), states.get());
    const StateSetPtr holderStates(atspi_accessible_get_state_set(holder.get()));
    return AtspiTextElement::create(holder.get(), holderStates.get());
}

}  // namespace tarvelo::desktop
