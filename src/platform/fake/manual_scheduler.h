// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/fake/manual_clock.h"
#include "support/scheduler.h"

namespace tarvelo {

// A main queue driven by a test: `advance` moves the manual clock forward and runs every task that
// falls due, in deadline order (tasks due at the same instant in the order they were scheduled), with
// the clock set to each task's deadline while it runs. Tasks scheduled by running tasks are run too
// if they fall due within the advance.
class ManualScheduler final : public Scheduler {
public:
    explicit ManualScheduler(ManualClock& clock) : clock_(clock) {}

    void after(double seconds, Task task) override;
    [[nodiscard]] Subscription every(double interval, Task task) override;

    void advance(double seconds);
    // Runs what is due now without moving the clock.
    void runDue() { advance(0.0); }

    // Tasks waiting to run, repeating timers included.
    std::size_t pendingCount() const;
    // The deadline of the next task, or a negative number when nothing waits.
    double nextDeadline() const;

private:
    struct Entry {
        double deadline = 0.0;
        std::uint64_t sequence = 0;
        double interval = 0.0;  // 0 for a one-off task
        std::shared_ptr<Task> task;
        std::shared_ptr<bool> cancelled;
    };

    void schedule(Entry entry);
    std::vector<Entry>::iterator nextDue(double limit);

    ManualClock& clock_;
    std::vector<Entry> entries_;
    std::uint64_t nextSequence_ = 0;
};

}  // namespace tarvelo
