// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/installation.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

namespace fs = std::filesystem;

TEST(Installation, IsRecognisedByTheProgramsFolderAndTheDataFolderBesideIt) {
    std::string pattern = (fs::temp_directory_path() / "tarvelo-installation-XXXXXX").string();
    const fs::path prefix = ::mkdtemp(pattern.data());
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "src");

    // A program in bin/ with no data folder yet, and one in a build folder.
    EXPECT_EQ(Installation::containing(prefix / "bin" / "tarvelo"), std::nullopt);
    EXPECT_EQ(Installation::containing(prefix / "src" / "tarvelo"), std::nullopt);

    fs::create_directories(prefix / "share" / "tarvelo");
    const auto installation = Installation::containing(prefix / "bin" / "tarvelo");
    ASSERT_TRUE(installation.has_value());
    EXPECT_EQ(installation->prefix(), prefix);
    EXPECT_EQ(installation->program("tarvelo-cli"), prefix / "bin" / "tarvelo-cli");
    EXPECT_EQ(installation->dataFile("letter_model.txt"), prefix / "share" / "tarvelo" / "letter_model.txt");
    EXPECT_EQ(Installation::containing(prefix / "src" / "tarvelo"), std::nullopt);
    EXPECT_EQ(Installation::containing("tarvelo"), std::nullopt);

    fs::remove_all(prefix);
}

TEST(Installation, TheTestsThemselvesRunFromABuildFolder) {
    EXPECT_EQ(Installation::containing(Installation::runningProgram()), std::nullopt)
        << Installation::runningProgram();
}

}  // namespace
}  // namespace tarvelo::desktop
