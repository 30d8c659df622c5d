// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/clock.h"

namespace tarvelo {

// The real wall clock: seconds since the Unix epoch.
class SystemClock final : public Clock {
public:
    double now() const override;
};

}  // namespace tarvelo
