// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/word_run.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tarvelo {

void WordRun::extendGap(std::string_view key) {
    if (!words_.empty()) words_.back().gap.append(key);
}

void WordRun::record(RunVerdict verdict) {
    const std::size_t rewritten = std::min(verdict.rewritten.size(), words_.size());
    std::move(verdict.rewritten.end() - static_cast<std::ptrdiff_t>(rewritten), verdict.rewritten.end(),
              words_.end() - static_cast<std::ptrdiff_t>(rewritten));
    words_.push_back(std::move(verdict.word));
    if (words_.size() > kRememberedWords) {
        words_.erase(words_.begin(), words_.end() - static_cast<std::ptrdiff_t>(kRememberedWords));
    }
}

}  // namespace tarvelo
