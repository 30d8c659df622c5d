// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/manual_scheduler.h"

#include <algorithm>
#include <utility>

namespace tarvelo {

void ManualScheduler::schedule(Entry entry) {
    entry.sequence = nextSequence_++;
    entries_.push_back(std::move(entry));
}

void ManualScheduler::after(double seconds, Task task) {
    Entry entry;
    entry.deadline = clock_.now() + std::max(seconds, 0.0);
    entry.task = std::make_shared<Task>(std::move(task));
    entry.cancelled = std::make_shared<bool>(false);
    schedule(std::move(entry));
}

Subscription ManualScheduler::every(double interval, Task task) {
    Entry entry;
    // A repeating timer with no interval would run forever within one instant.
    entry.interval = std::max(interval, 1e-3);
    entry.deadline = clock_.now() + entry.interval;
    entry.task = std::make_shared<Task>(std::move(task));
    entry.cancelled = std::make_shared<bool>(false);
    std::weak_ptr<bool> cancelled = entry.cancelled;
    schedule(std::move(entry));
    return Subscription([cancelled] {
        if (auto flag = cancelled.lock()) *flag = true;
    });
}

std::vector<ManualScheduler::Entry>::iterator ManualScheduler::nextDue(double limit) {
    auto best = entries_.end();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->deadline > limit) continue;
        if (best == entries_.end() || it->deadline < best->deadline ||
            (it->deadline == best->deadline && it->sequence < best->sequence)) {
            best = it;
        }
    }
    return best;
}

void ManualScheduler::advance(double seconds) {
    const double target = clock_.now() + std::max(seconds, 0.0);
    // Sums of delays such as 0.08 + 0.12 land a rounding error away from the same sum of advances; a
    // nanosecond's slack makes "advance by the delay" always reach the task.
    const double limit = target + 1e-9;
    for (auto due = nextDue(limit); due != entries_.end(); due = nextDue(limit)) {
        Entry entry = std::move(*due);
        entries_.erase(due);
        if (*entry.cancelled) continue;
        clock_.set(std::max(clock_.now(), entry.deadline));
        if (entry.interval > 0.0) {
            Entry next = entry;
            next.deadline = entry.deadline + entry.interval;
            schedule(std::move(next));
        }
        (*entry.task)();
    }
    clock_.set(std::max(clock_.now(), target));
}

std::size_t ManualScheduler::pendingCount() const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& entry) { return !*entry.cancelled; }));
}

double ManualScheduler::nextDeadline() const {
    double next = -1.0;
    for (const Entry& entry : entries_) {
        if (*entry.cancelled) continue;
        if (next < 0.0 || entry.deadline < next) next = entry.deadline;
    }
    return next;
}

}  // namespace tarvelo
