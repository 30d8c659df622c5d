// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/memory_defaults_store.h"

#include <utility>

namespace tarvelo {

void MemoryDefaultsStore::registerDefaults(const DefaultsValues& values) {
    for (const auto& [key, value] : values) registered_.insert_or_assign(key, value);
}

std::optional<DefaultsValue> MemoryDefaultsStore::object(std::string_view key) const {
    if (const auto stored = stored_.find(key); stored != stored_.end()) return stored->second;
    if (const auto registered = registered_.find(key); registered != registered_.end()) return registered->second;
    return std::nullopt;
}

void MemoryDefaultsStore::setObject(std::string_view key, std::optional<DefaultsValue> value) {
    ++writeCount_;
    if (value) {
        stored_.insert_or_assign(std::string(key), std::move(*value));
    } else if (const auto found = stored_.find(key); found != stored_.end()) {
        stored_.erase(found);
    }
}

}  // namespace tarvelo
