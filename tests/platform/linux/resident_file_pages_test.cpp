// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/linux/resident_file_pages.h"

namespace tarvelo::desktop {
namespace {

const std::size_t kPageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
// The kernel maps the neighbours of a page it reads in (64 KiB around it by default), so the pages
// the tests touch lie further apart than that.
const std::size_t kStretch = 64 * kPageSize;
constexpr std::size_t kStretches = 8;

// A file of kStretches stretches, stretch N filled with the letter 'a' + N, mapped private.
struct MappedFile : ::testing::Test {
    int descriptor = -1;
    char* bytes = nullptr;

    void SetUp() override {
        char name[] = "/tmp/tarvelo-pages.XXXXXX";
        descriptor = ::mkstemp(name);
        ASSERT_GE(descriptor, 0);
        ::unlink(name);
        for (std::size_t page = 0; page < kStretches; ++page) {
            const std::string filled(kStretch, static_cast<char>('a' + page));
            ASSERT_EQ(::write(descriptor, filled.data(), filled.size()), static_cast<ssize_t>(filled.size()));
        }
        void* mapped = ::mmap(nullptr, kStretches * kStretch, PROT_READ | PROT_WRITE, MAP_PRIVATE, descriptor, 0);
        ASSERT_NE(mapped, MAP_FAILED);
        bytes = static_cast<char*>(mapped);
    }
    void TearDown() override {
        if (bytes != nullptr) ::munmap(bytes, kStretches * kStretch);
        if (descriptor >= 0) ::close(descriptor);
    }

    void makeReadOnly() { ASSERT_EQ(::mprotect(bytes, kStretches * kStretch, PROT_READ), 0); }
    char touch(std::size_t page) const { return *static_cast<volatile char*>(bytes + page * kStretch); }

    // Whether the first page of the stretch is in this process's memory, as the kernel tells it.
    bool resident(std::size_t page) const {
        const int pagemap = ::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
        std::uint64_t entry = 0;
        const auto offset = static_cast<off_t>(reinterpret_cast<std::uintptr_t>(bytes + page * kStretch) / kPageSize *
                                               sizeof(entry));
        const bool read = ::pread(pagemap, &entry, sizeof(entry), offset) == static_cast<ssize_t>(sizeof(entry));
        ::close(pagemap);
        return read && (entry >> 63) != 0;
    }
};

TEST_F(MappedFile, PagesTouchedSinceTheSnapshotAreReleasedAndReadBackUnchanged) {
    makeReadOnly();
    touch(0);
    touch(1);
    const ResidentFilePages earlier = ResidentFilePages::now();
    EXPECT_GE(earlier.bytes(), 2 * kPageSize);
    for (std::size_t page = 2; page < 6; ++page) touch(page);

    EXPECT_GE(ResidentFilePages::releaseAddedSince(earlier), 4 * kPageSize);

    EXPECT_TRUE(resident(0));
    EXPECT_TRUE(resident(1));
    for (std::size_t page = 2; page < 6; ++page) EXPECT_FALSE(resident(page)) << page;
    for (std::size_t page = 0; page < kStretches; ++page) EXPECT_EQ(touch(page), 'a' + static_cast<char>(page)) << page;
}

TEST_F(MappedFile, WrittenPagesAndWritableMappingsAreKept) {
    const ResidentFilePages earlier = ResidentFilePages::now();
    // A page written while the mapping was writable is this process's own copy, not the file's.
    bytes[3 * kStretch] = 'X';
    // While writable, none of its pages is released.
    touch(4);
    ResidentFilePages::releaseAddedSince(earlier);
    EXPECT_TRUE(resident(4));

    makeReadOnly();
    touch(5);
    ResidentFilePages::releaseAddedSince(earlier);

    EXPECT_TRUE(resident(3));
    EXPECT_EQ(touch(3), 'X');
    EXPECT_FALSE(resident(5));
    EXPECT_EQ(touch(5), 'f');
}

}  // namespace
}  // namespace tarvelo::desktop
