// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/exception_manager.h"

#include <algorithm>
#include <utility>

#include "store/defaults_keys.h"
#include "text/case_mapping.h"
#include "text/collation.h"
#include "text/trimming.h"

namespace tarvelo {

ExceptionManager::ExceptionManager(DefaultsStore& defaults) : defaults_(defaults) {
    // The stored order is kept as it is; only an addition sorts the list.
    words_.set(defaults_.stringArrayForKey(defaults_keys::exceptions).value_or(std::vector<std::string>{}));
    store();
}

ExceptionWords ExceptionManager::normalizedWords() const {
    ExceptionWords normalized;
    for (const std::string& word : words_.get()) normalized.insert(text::comparisonKey(word));
    return normalized;
}

void ExceptionManager::add(std::string_view word) {
    const std::string_view trimmed = text::trimmed(word);
    if (trimmed.empty()) return;
    if (normalizedWords().count(text::comparisonKey(trimmed)) != 0) return;

    std::vector<std::string> words = words_.get();
    words.emplace_back(trimmed);
    std::stable_sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
        return text::compareLocalizedCaseInsensitive(a, b) < 0;
    });
    words_.set(std::move(words));
    store();
}

void ExceptionManager::remove(std::string_view word) {
    const std::string key = text::comparisonKey(word);
    std::vector<std::string> words = words_.get();
    std::erase_if(words, [&](const std::string& entry) { return text::comparisonKey(entry) == key; });
    words_.set(std::move(words));
    store();
}

void ExceptionManager::store() { defaults_.setObject(defaults_keys::exceptions, DefaultsValue(words_.get())); }

}  // namespace tarvelo
