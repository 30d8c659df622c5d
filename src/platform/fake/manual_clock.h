// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/clock.h"

namespace tarvelo {

// A clock that moves only when told to.
class ManualClock final : public Clock {
public:
    explicit ManualClock(double start = 1'000'000.0) : now_(start) {}

    double now() const override { return now_; }
    void set(double now) { now_ = now; }
    void advance(double seconds) { now_ += seconds; }

private:
    double now_;
};

}  // namespace tarvelo
