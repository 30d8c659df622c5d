// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_meter.h"

#include <algorithm>
#include <ostream>
#include <utility>

namespace tarvelo::cli {

ProgressMeter::ProgressMeter(std::ostream& out, bool terminal, std::string label, std::uint64_t total)
    : out_(out),
      terminal_(terminal),
      label_(std::move(label)),
      total_(total),
      interval_(std::max<std::uint64_t>(1, total / (terminal ? 100 : 10))),
      nextShown_(interval_) {}

void ProgressMeter::advance(std::uint64_t steps) {
    done_ += steps;
    // The last stretch is left to finish(), which shows the total.
    if (total_ < kShownFrom || done_ < nextShown_ || total_ - std::min(done_, total_) < interval_) return;
    show();
    nextShown_ = done_ + interval_;
}

void ProgressMeter::finish() {
    if (finished_ || total_ < kShownFrom) return;
    finished_ = true;
    show();
    if (terminal_) out_ << '\n' << std::flush;
}

void ProgressMeter::show() {
    if (terminal_) {
        out_ << '\r' << label_ << ": " << done_ << " / " << total_ << std::flush;
    } else {
        out_ << label_ << ": " << done_ << " / " << total_ << '\n' << std::flush;
    }
}

}  // namespace tarvelo::cli
