// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/word_analyzer.h"
#include "platform/defaults_store.h"
#include "support/observable.h"

namespace tarvelo {

// The user's words that are never corrected. Each keeps the case in which it was first added; the list
// is stored whole under "learning.exceptions" after every change.
class ExceptionManager {
public:
    explicit ExceptionManager(DefaultsStore& defaults);
    ExceptionManager(const ExceptionManager&) = delete;
    ExceptionManager& operator=(const ExceptionManager&) = delete;

    // The list as shown, in stored order.
    const Observable<std::vector<std::string>>& words() const { return words_; }

    // Every entry as the word filter compares it; built afresh from the list at each call.
    ExceptionWords normalizedWords() const;

    // Adds `word` without surrounding white space, unless it is blank or already listed in any case,
    // and sorts the list as the user's language sorts words, ignoring case.
    void add(std::string_view word);

    // Deletes every entry equal to `word` ignoring case (not trimmed), then stores the list even when
    // nothing was deleted.
    void remove(std::string_view word);

private:
    void store();

    DefaultsStore& defaults_;
    Observable<std::vector<std::string>> words_;
};

}  // namespace tarvelo
