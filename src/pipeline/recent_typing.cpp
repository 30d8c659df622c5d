// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/recent_typing.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "text/characters.h"

namespace tarvelo {

void RecentTyping::note(Kind kind, std::string text, double now) {
    ++keyCount_;
    entries_.push_back(Entry{kind, keyCount_, now, std::move(text), {}});
    ++keysHeld_;
    prune(now);
}

void RecentTyping::noteEdit(std::uint64_t anchor, std::string removed, std::string inserted, double now) {
    entries_.push_back(Entry{Kind::edit, anchor, now, std::move(removed), std::move(inserted)});
    prune(now);
}

void RecentTyping::prune(double now) {
    while (!entries_.empty() && (keysHeld_ > kCapacity || !(now - entries_.front().time < kLifetime))) {
        if (entries_.front().kind != Kind::edit) --keysHeld_;
        entries_.pop_front();
    }
}

std::uint64_t RecentTyping::oldestKey() const {
    for (const Entry& entry : entries_) {
        if (entry.kind != Kind::edit) return entry.key;
    }
    return keyCount_ + 1;
}

std::optional<std::string> RecentTyping::textAfter(std::uint64_t anchor, double now) const {
    if (anchor > keyCount_) return std::nullopt;
    // Every key after the anchor must still be on record, and young enough to be.
    if (anchor + 1 < oldestKey()) return std::nullopt;
    std::string text;
    // Where each key's text ends in `text`, for the edits tied to it.
    std::vector<std::pair<std::uint64_t, std::size_t>> ends;
    for (const Entry& entry : entries_) {
        if (entry.kind == Kind::edit) {
            // An edit at or before the anchor changed text in front of what is asked for.
            if (entry.key <= anchor) continue;
            const auto found = std::find_if(ends.begin(), ends.end(), [&](const auto& end) { return end.first == entry.key; });
            if (found == ends.end()) return std::nullopt;
            const std::size_t end = found->second;
            if (end < entry.text.size() || text.compare(end - entry.text.size(), entry.text.size(), entry.text) != 0) {
                return std::nullopt;
            }
            const std::size_t start = end - entry.text.size();
            text.replace(start, entry.text.size(), entry.inserted);
            const std::size_t newEnd = start + entry.inserted.size();
            for (auto& [key, position] : ends) {
                if (position >= end) {
                    position = position - end + newEnd;
                } else if (position > start) {
                    position = newEnd;  // a key inside the replaced text now ends with it
                }
            }
            continue;
        }
        if (entry.key <= anchor) continue;
        if (!(now - entry.time < kLifetime)) return std::nullopt;
        switch (entry.kind) {
            case Kind::text: text += entry.text; break;
            case Kind::backspace:
                // A Backspace with nothing typed since reached into the anchor's own text.
                if (text.empty()) return std::nullopt;
                text.resize(text.size() - text::lastCharacter(text).size());
                for (auto& end : ends) end.second = std::min(end.second, text.size());
                break;
            case Kind::unknown: return std::nullopt;
            case Kind::edit: break;
        }
        ends.emplace_back(entry.key, text.size());
    }
    return text;
}

}  // namespace tarvelo
