// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_focused_process.h"

#include <atspi/atspi.h>

#include "platform/linux/atspi/atspi_connection.h"
#include "platform/linux/atspi/atspi_handles.h"

namespace tarvelo::desktop {

using namespace atspi_handles;

struct AtspiFocusedProcess::Listener {
    Listener() {
        if (!atspi_connection::ensureConnected()) return;
        listener.reset(atspi_event_listener_new(&Listener::onFocusEvent, this, nullptr));
        ErrorSlot error;
        registered = atspi_event_listener_register(listener.get(), kFocusEvent, error.out()) && !error.failed();
    }
    ~Listener() {
        if (!registered) return;
        ErrorSlot error;
        atspi_event_listener_deregister(listener.get(), kFocusEvent, error.out());
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    static void onFocusEvent(AtspiEvent* event, void* data) {
        const EventPtr owned(event);
        auto* self = static_cast<Listener*>(data);
        if (event->source == nullptr) return;
        if (event->detail1 != 0) {
            if (self->focused.get() == event->source) return;
            self->focused = ref(event->source);
        } else if (self->focused.get() == event->source) {
            self->focused.reset();
        } else {
            return;
        }
        ++self->changes;
        self->process.reset();
    }

    static constexpr const char* kFocusEvent = "object:state-changed:focused";
    ObjectPtr<AtspiEventListener> listener;
    bool registered = false;
    AccessiblePtr focused;
    std::uint64_t changes = 0;
    // The focused object's process, once asked.
    std::optional<int> process;
};

AtspiFocusedProcess::AtspiFocusedProcess() : listener_(std::make_unique<Listener>()) {}

AtspiFocusedProcess::~AtspiFocusedProcess() = default;

std::optional<int> AtspiFocusedProcess::processId() {
    if (listener_->focused == nullptr) return std::nullopt;
    if (listener_->process) return listener_->process;
    // Answered by the bus, not by the application.
    ErrorSlot error;
    const guint process = atspi_accessible_get_process_id(listener_->focused.get(), error.out());
    if (error.failed() || process == 0) return std::nullopt;
    listener_->process = static_cast<int>(process);
    return listener_->process;
}

std::uint64_t AtspiFocusedProcess::focusChanges() const { return listener_->changes; }

bool AtspiFocusedProcess::isListening() const { return listener_->registered; }

}  // namespace tarvelo::desktop
