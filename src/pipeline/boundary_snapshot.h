// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvelo {

// A word that a delimiter key has just closed. Held in memory only, never stored. It has no equality:
// a delayed task recognises the record it was scheduled for by its `timestamp` alone.
struct BoundarySnapshot {
    std::string word;       // 1 to 64 characters, as typed
    std::string delimiter;  // the one character that closed the word: white space or one of !?"():
    std::optional<std::string> bundleIdentifier;  // the frontmost application when the delimiter went down
    double timestamp = 0.0;                       // when the word was closed (wall-clock seconds)
    // The number of the delimiter's key among the keys that reached the focused application: what was
    // typed after it is told from there, and a replacement made by keystrokes, which cannot look at the
    // text, goes ahead only while no key has followed it.
    std::uint64_t keyCount = 0;
};

}  // namespace tarvelo
