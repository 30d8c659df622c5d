// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarvelo {

// Wall-clock time as seconds (64-bit floating point). Ages are now() minus a timestamp.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;

protected:
    Clock() = default;
    Clock(const Clock&) = default;
    Clock& operator=(const Clock&) = default;
};

}  // namespace tarvelo
