// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/process_libraries.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

TEST(ProcessLibrariesTest, AProcessMapsTheLibrariesItIsLinkedWithAndNoOthers) {
    const int self = static_cast<int>(getpid());
    EXPECT_TRUE(processMapsLibrary(self, "libglib-2.0.so"));
    EXPECT_TRUE(processMapsLibrary(self, "libc.so"));
    // A prefix of the file name, not a part of the path or of another name.
    EXPECT_FALSE(processMapsLibrary(self, "glib-2.0.so"));
    EXPECT_FALSE(processMapsLibrary(self, "libgtk-3.so"));
    // A process that is not there maps nothing.
    EXPECT_FALSE(processMapsLibrary(0, "libc.so"));
}

}  // namespace
}  // namespace tarvelo::desktop
