// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tarvelo::desktop {

// Which pages of the files this process maps read-only and private (its own code, the libraries'
// code and read-only data, fonts) are resident in its memory. They count in its resident size
// although they are clean copies of the page cache: a window's code, touched while it was shown,
// stays resident long after the window is gone. Read from /proc/self/maps and /proc/self/pagemap;
// empty when those cannot be read.
class ResidentFilePages {
public:
    // The pages resident now.
    static ResidentFilePages now();

    // Unmaps the pages that are resident now and were not in `earlier`. They are read back from the
    // page cache the next time they are touched, so nothing changes but the resident size. A page that
    // was written to (relocated data, copy-on-write) is not a copy of its file and is always kept.
    // Answers the bytes released.
    static std::size_t releaseAddedSince(const ResidentFilePages& earlier);

    // The resident pages, in bytes.
    std::size_t bytes() const;

private:
    // A mapping is the same one only if the same part of the same file sits at the same address.
    using MappingKey = std::tuple<std::uintptr_t, std::uintptr_t, std::uint64_t, std::uint64_t, std::string>;
    struct Mapping {
        // One flag per page of the mapping: resident and still the file's own copy.
        std::vector<bool> resident;
    };

    std::map<MappingKey, Mapping> mappings_;
};

}  // namespace tarvelo::desktop
