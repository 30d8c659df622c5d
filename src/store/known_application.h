// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tarvelo {

// An application offered for exclusion on the Applications page. Lists identify it by
// `bundleIdentifier`; `systemImage` names its symbol.
struct KnownApplication {
    std::string name;
    std::string bundleIdentifier;
    std::string systemImage;

    friend bool operator==(const KnownApplication&, const KnownApplication&) = default;
};

}  // namespace tarvelo
