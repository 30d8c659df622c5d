// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/defaults_store.h"

namespace tarvelo {

// A defaults store that lives in memory. A "restart" in a test is a new manager over the same store:
// the stored values stay, the registration domain is what the new run registers.
class MemoryDefaultsStore final : public DefaultsStore {
public:
    MemoryDefaultsStore() = default;

    void registerDefaults(const DefaultsValues& values) override;
    std::optional<DefaultsValue> object(std::string_view key) const override;
    void setObject(std::string_view key, std::optional<DefaultsValue> value) override;

    // What a test inspects: the stored values only, never the registered ones.
    const DefaultsValues& stored() const { return stored_; }
    bool hasStoredValue(std::string_view key) const { return stored_.find(key) != stored_.end(); }
    // How many writes (stores and removals) reached the store.
    int writeCount() const { return writeCount_; }
    // Forgets the registration domain, as a new run of the program would.
    void restart() { registered_.clear(); }

private:
    DefaultsValues stored_;
    DefaultsValues registered_;
    int writeCount_ = 0;
};

}  // namespace tarvelo
