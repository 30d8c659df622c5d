// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/glib_scheduler.h"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace tarvelo::desktop {
namespace {

guint milliseconds(double seconds) {
    if (!(seconds > 0.0)) return 0;
    return static_cast<guint>(std::min(std::ceil(seconds * 1000.0), 4.0e9));
}

}  // namespace

// The ids of the sources this scheduler added and that have not run out, so that the destructor can
// remove them and a task never runs after its scheduler is gone.
struct GlibScheduler::Sources {
    std::set<guint> ids;
};

namespace {

struct Pending {
    std::weak_ptr<void> sources;
    std::set<guint>* ids = nullptr;
    Scheduler::Task task;
    bool repeating = false;
    guint id = 0;
};

gboolean runPending(gpointer data) {
    auto* pending = static_cast<Pending*>(data);
    if (pending->sources.expired()) return G_SOURCE_REMOVE;
    // A copy, because the task may end its own timer and with it this record.
    Scheduler::Task task = pending->task;
    const bool repeating = pending->repeating;
    if (!repeating) pending->ids->erase(pending->id);
    task();
    return repeating ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

void freePending(gpointer data) { delete static_cast<Pending*>(data); }

}  // namespace

GlibScheduler::GlibScheduler() : sources_(std::make_shared<Sources>()) {}

GlibScheduler::~GlibScheduler() {
    const std::set<guint> ids = std::move(sources_->ids);
    sources_.reset();
    for (const guint id : ids) g_source_remove(id);
}

void GlibScheduler::after(double seconds, Task task) {
    auto* pending = new Pending{sources_, &sources_->ids, std::move(task), false, 0};
    pending->id = g_timeout_add_full(G_PRIORITY_DEFAULT, milliseconds(seconds), runPending, pending, freePending);
    sources_->ids.insert(pending->id);
}

Subscription GlibScheduler::every(double interval, Task task) {
    auto* pending = new Pending{sources_, &sources_->ids, std::move(task), true, 0};
    const guint id =
        g_timeout_add_full(G_PRIORITY_DEFAULT, std::max<guint>(1, milliseconds(interval)), runPending, pending, freePending);
    pending->id = id;
    sources_->ids.insert(id);
    return Subscription([weak = std::weak_ptr<Sources>(sources_), id] {
        if (auto sources = weak.lock(); sources && sources->ids.erase(id) != 0) g_source_remove(id);
    });
}

}  // namespace tarvelo::desktop
