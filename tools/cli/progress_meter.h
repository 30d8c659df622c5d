// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace tarvelo::cli {

// Shows how far a long computation has come, "LABEL: done / total": on a terminal as one line
// rewritten at every whole percent, elsewhere (a log) as one line for every tenth. Work of fewer
// than kShownFrom steps finishes before anyone waits for it, so the meter stays silent.
class ProgressMeter {
public:
    static constexpr std::uint64_t kShownFrom = 10'000;

    ProgressMeter(std::ostream& out, bool terminal, std::string label, std::uint64_t total);
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    void advance(std::uint64_t steps = 1);

    // Shows the final count and ends the line.
    void finish();

private:
    void show();

    std::ostream& out_;
    bool terminal_;
    std::string label_;
    std::uint64_t total_;
    std::uint64_t interval_;
    std::uint64_t nextShown_;
    std::uint64_t done_ = 0;
    bool finished_ = false;
};

}  // namespace tarvelo::cli
