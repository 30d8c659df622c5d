// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/resident_file_pages.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace tarvelo::desktop {
namespace {

// /proc/PID/pagemap holds one 64-bit word per page of the address space.
constexpr std::uint64_t kPresent = std::uint64_t{1} << 63;
// The page is the page cache's (or shared memory), not a private copy the process wrote to.
constexpr std::uint64_t kFilePage = std::uint64_t{1} << 61;
// Pages read from pagemap at a time.
constexpr std::size_t kChunk = 4096;

std::uintptr_t pageSize() {
    static const auto size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

// Whether each page of [start, end) is resident and still its file's own copy; empty when pagemap
// cannot be read.
std::vector<bool> residentFilePages(int pagemap, std::uintptr_t start, std::uintptr_t end) {
    const std::size_t pages = (end - start) / pageSize();
    std::vector<bool> resident(pages, false);
    std::array<std::uint64_t, kChunk> entries{};
    for (std::size_t first = 0; first < pages; first += kChunk) {
        const std::size_t count = std::min(kChunk, pages - first);
        const auto offset = static_cast<off_t>((start / pageSize() + first) * sizeof(std::uint64_t));
        const auto wanted = static_cast<ssize_t>(count * sizeof(std::uint64_t));
        if (::pread(pagemap, entries.data(), static_cast<std::size_t>(wanted), offset) != wanted) return {};
        for (std::size_t page = 0; page < count; ++page) {
            resident[first + page] = (entries[page] & (kPresent | kFilePage)) == (kPresent | kFilePage);
        }
    }
    return resident;
}

}  // namespace

ResidentFilePages ResidentFilePages::now() {
    ResidentFilePages snapshot;
    std::ifstream maps("/proc/self/maps");
    const FileDescriptor pagemap(::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC));
    if (!maps || pagemap.get() < 0) return snapshot;
    std::string line;
    while (std::getline(maps, line)) {
        // start-end perms offset device inode [path]
        std::istringstream fields(line);
        std::string range, permissions, device;
        std::uint64_t offset = 0, inode = 0;
        fields >> range >> permissions >> std::hex >> offset >> device >> std::dec >> inode;
        const auto dash = range.find('-');
        if (!fields || dash == std::string::npos || permissions.size() < 4) continue;
        // Only what the kernel may drop and read back unchanged: file pages mapped private and
        // read-only. A writable mapping's pages may be written at any moment.
        if (inode == 0 || permissions[0] != 'r' || permissions[1] != '-' || permissions[3] != 'p') continue;
        const auto start = static_cast<std::uintptr_t>(std::stoull(range.substr(0, dash), nullptr, 16));
        const auto end = static_cast<std::uintptr_t>(std::stoull(range.substr(dash + 1), nullptr, 16));
        if (end <= start) continue;
        auto resident = residentFilePages(pagemap.get(), start, end);
        if (resident.empty()) continue;
        snapshot.mappings_.emplace(MappingKey{start, end, offset, inode, device}, Mapping{std::move(resident)});
    }
    return snapshot;
}

std::size_t ResidentFilePages::releaseAddedSince(const ResidentFilePages& earlier) {
    const ResidentFilePages current = now();
    std::size_t released = 0;
    for (const auto& entry : current.mappings_) {
        const MappingKey& key = entry.first;
        const Mapping& mapping = entry.second;
        const auto before = earlier.mappings_.find(key);
        const std::vector<bool>* const was = before == earlier.mappings_.end() ? nullptr : &before->second.resident;
        const std::uintptr_t start = std::get<0>(key);
        const std::size_t pages = mapping.resident.size();
        // Runs of added pages, each released with one call.
        std::size_t page = 0;
        while (page < pages) {
            const auto added = [&](std::size_t at) { return mapping.resident[at] && (was == nullptr || !(*was)[at]); };
            if (!added(page)) {
                ++page;
                continue;
            }
            std::size_t runEnd = page;
            while (runEnd < pages && added(runEnd)) ++runEnd;
            const std::size_t length = (runEnd - page) * pageSize();
            if (::madvise(reinterpret_cast<void*>(start + page * pageSize()), length, MADV_DONTNEED) == 0) {
                released += length;
            }
            page = runEnd;
        }
    }
    return released;
}

std::size_t ResidentFilePages::bytes() const {
    std::size_t pages = 0;
    for (const auto& [key, mapping] : mappings_) {
        pages += static_cast<std::size_t>(std::count(mapping.resident.begin(), mapping.resident.end(), true));
    }
    return pages * pageSize();
}

}  // namespace tarvelo::desktop
