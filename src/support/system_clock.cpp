// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/system_clock.h"

#include <chrono>

namespace tarvelo {

double SystemClock::now() const {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}

}  // namespace tarvelo
