// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/process_libraries.h"

#include <unistd.h>

#include <optional>
#include <string>

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
    // The file name, with the version its name carries.
    const std::optional<std::string> glib = processLibraryFile(self, "libglib-2.0.so");
    ASSERT_TRUE(glib.has_value());
    EXPECT_TRUE(glib->starts_with("libglib-2.0.so.0"));
    EXPECT_EQ(processLibraryFile(self, "libgtk-3.so"), std::nullopt);
}

}  // namespace
}  // namespace tarvelo::desktop
