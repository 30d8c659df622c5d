// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "support/subscription.h"

namespace tarvelo {

// The main queue. Every task runs later on the main thread, never inside the call that schedules it.
// A task that must not outlive its owner guards itself with the owner's `Lifetime`.
class Scheduler {
public:
    using Task = std::function<void()>;

    virtual ~Scheduler() = default;

    // Runs `task` once, `seconds` from now (at once, on a later turn, for zero or less).
    virtual void after(double seconds, Task task) = 0;

    // Runs `task` every `interval` seconds until the returned subscription ends.
    [[nodiscard]] virtual Subscription every(double interval, Task task) = 0;

protected:
    Scheduler() = default;
    Scheduler(const Scheduler&) = default;
    Scheduler& operator=(const Scheduler&) = default;
};

}  // namespace tarvelo
