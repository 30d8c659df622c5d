// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atspi/atspi.h>
#include <glib-object.h>
#include <glib.h>

#include <memory>

// Owners for the GLib and AT-SPI handles of the accessibility backend, each freed by its own function.
namespace tarvelo::desktop::atspi_handles {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct Free {
    void operator()(gpointer memory) const { g_free(memory); }
};
struct EventFree {
    void operator()(AtspiEvent* event) const { g_boxed_free(ATSPI_TYPE_EVENT, event); }
};
struct VariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};

// A reference to a GObject (an accessible, a state set, a listener, a D-Bus connection).
template <typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;
using AccessiblePtr = ObjectPtr<AtspiAccessible>;
using StateSetPtr = ObjectPtr<AtspiStateSet>;
using TextPtr = std::unique_ptr<gchar, Free>;
using RangePtr = std::unique_ptr<AtspiRange, Free>;
using EventPtr = std::unique_ptr<AtspiEvent, EventFree>;
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

// Takes a new reference to `accessible` (which may be null).
inline AccessiblePtr ref(AtspiAccessible* accessible) {
    return AccessiblePtr(accessible != nullptr ? static_cast<AtspiAccessible*>(g_object_ref(accessible)) : nullptr);
}

// The error slot of one call: `out()` goes where the call wants a GError**, and the slot frees what the
// call stored there.
class ErrorSlot {
public:
    ErrorSlot() = default;
    ErrorSlot(const ErrorSlot&) = delete;
    ErrorSlot& operator=(const ErrorSlot&) = delete;
    ~ErrorSlot() { reset(); }

    GError** out() {
        reset();
        return &error_;
    }
    bool failed() const { return error_ != nullptr; }
    void reset() {
        if (error_ != nullptr) g_error_free(error_);
        error_ = nullptr;
    }

private:
    GError* error_ = nullptr;
};

}  // namespace tarvelo::desktop::atspi_handles
