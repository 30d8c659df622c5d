// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/xdg_autostart_login_items.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

namespace fs = std::filesystem;

struct AutostartFixture : ::testing::Test {
    fs::path folder;
    fs::path autostart;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tarvelo-autostart-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        autostart = folder / "autostart";
    }
    void TearDown() override { fs::remove_all(folder); }

    static std::string text(const fs::path& file) {
        std::ifstream stream(file);
        std::stringstream content;
        content << stream.rdbuf();
        return content.str();
    }

    // An executable file standing for an installed program.
    fs::path program(const fs::path& relative) {
        const fs::path path = folder / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\n";
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    static ino_t inode(const fs::path& file) {
        struct stat status{};
        ::stat(file.c_str(), &status);
        return status.st_ino;
    }
};

TEST_F(AutostartFixture, RegisterWritesAnEntryNamingTheInstalledProgramAndItsIcon) {
    XdgAutostartLoginItems items(autostart, "/opt/Tar velo/bin/tarvelo$1%", "/usr/bin:/bin");
    EXPECT_EQ(items.entry(), autostart / "dev.brinmoor.Tarvelo.desktop");
    EXPECT_FALSE(items.isEnabled());

    EXPECT_EQ(items.registerItem(), std::nullopt);
    EXPECT_TRUE(items.isEnabled());
    const std::string entry = text(items.entry());
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("Type=Application\n"), std::string::npos);
    // Quoted for the Exec rules, then with the backslash escaped for the file's string rule.
    EXPECT_NE(entry.find("Exec=\"/opt/Tar velo/bin/tarvelo\\\\$1%%\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("TryExec=/opt/Tar velo/bin/tarvelo$1%\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("Icon=dev.brinmoor.Tarvelo\n"), std::string::npos) << entry;

    EXPECT_EQ(items.registerItem(), std::nullopt);  // again: still one entry
    EXPECT_EQ(items.unregisterItem(), std::nullopt);
    EXPECT_FALSE(fs::exists(items.entry()));
    EXPECT_EQ(items.unregisterItem(), std::nullopt);  // nothing to remove is no failure
}

TEST_F(AutostartFixture, ExecIsTheBareNameOnlyWhenTheSearchPathFindsThatVeryProgram) {
    const fs::path installed = program("usr/bin/tarvelo");
    program("opt/old/bin/tarvelo");  // another copy, earlier on one of the paths
    fs::create_directories(folder / "links");
    fs::create_symlink(installed, folder / "links" / "tarvelo");
    struct Case {
        std::string searchPath;
        std::string exec;
    };
    const Case cases[] = {
        {(folder / "usr/bin").string(), "tarvelo"},
        {"/nowhere:" + (folder / "usr/bin").string(), "tarvelo"},
        {(folder / "links").string(), "tarvelo"},  // a link to the program is the program
        {(folder / "opt/old/bin").string() + ":" + (folder / "usr/bin").string(), installed.string()},
        {"", installed.string()},
        {"usr/bin", installed.string()},  // relative folders are never trusted
    };
    for (const Case& c : cases) {
        XdgAutostartLoginItems items(autostart, installed, c.searchPath);
        ASSERT_EQ(items.registerItem(), std::nullopt);
        const std::string entry = text(items.entry());
        EXPECT_NE(entry.find("\nExec=" + c.exec + "\n"), std::string::npos) << c.searchPath << "\n" << entry;
        EXPECT_NE(entry.find("\nTryExec=" + c.exec + "\n"), std::string::npos) << c.searchPath << "\n" << entry;
    }
}

TEST_F(AutostartFixture, WithoutAnInstalledProgramNothingIsWrittenAndTheUserIsTold) {
    XdgAutostartLoginItems items(autostart, std::nullopt, "/usr/bin");
    const auto error = items.registerItem();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("installed"), std::string::npos) << *error;
    EXPECT_FALSE(fs::exists(items.entry()));
    EXPECT_FALSE(items.isEnabled());
    EXPECT_EQ(items.rewriteStaleEntry(), std::nullopt);
}

TEST_F(AutostartFixture, AStaleEntryIsRewrittenAndACurrentOrHiddenOneIsLeftAlone) {
    const fs::path installed = program("usr/bin/tarvelo");
    XdgAutostartLoginItems items(autostart, installed, (folder / "usr/bin").string());
    fs::create_directories(autostart);

    // Written by a run from a build folder.
    std::ofstream(items.entry()) << "[Desktop Entry]\nType=Application\nExec=/home/me/tarvelo/build/ci/src/tarvelo\n"
                                    "Icon=tarvelo\n";
    EXPECT_EQ(items.rewriteStaleEntry(), std::nullopt);
    std::string entry = text(items.entry());
    EXPECT_NE(entry.find("\nExec=tarvelo\n"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("build"), std::string::npos) << entry;

    // Current: the file is not touched.
    const ino_t before = inode(items.entry());
    EXPECT_EQ(items.rewriteStaleEntry(), std::nullopt);
    EXPECT_EQ(inode(items.entry()), before);

    // Hidden by the desktop: rewriting would switch it back on.
    const std::string hidden = "[Desktop Entry]\nExec=/elsewhere/tarvelo\nHidden=true\n";
    std::ofstream(items.entry()) << hidden;
    EXPECT_EQ(items.rewriteStaleEntry(), std::nullopt);
    EXPECT_EQ(text(items.entry()), hidden);
    EXPECT_FALSE(items.isEnabled());
}

TEST_F(AutostartFixture, AnEntryUnderTheOldNameIsReplaced) {
    const fs::path installed = program("usr/bin/tarvelo");
    const fs::path legacy = autostart / "tarvelo.desktop";
    const auto writeLegacy = [&] {
        fs::create_directories(autostart);
        std::ofstream(legacy) << "[Desktop Entry]\nType=Application\nExec=\"/home/me/build/src/tarvelo\"\nIcon=tarvelo\n";
    };
    XdgAutostartLoginItems items(autostart, installed, "");

    writeLegacy();
    EXPECT_TRUE(items.isEnabled());
    EXPECT_EQ(items.rewriteStaleEntry(), std::nullopt);  // at start
    EXPECT_FALSE(fs::exists(legacy));
    EXPECT_NE(text(items.entry()).find("\nExec=" + installed.string() + "\n"), std::string::npos);

    fs::remove(items.entry());
    writeLegacy();
    EXPECT_EQ(items.registerItem(), std::nullopt);  // turned on again
    EXPECT_FALSE(fs::exists(legacy));
    EXPECT_TRUE(items.isEnabled());

    writeLegacy();
    EXPECT_EQ(items.unregisterItem(), std::nullopt);  // off removes both
    EXPECT_FALSE(fs::exists(legacy));
    EXPECT_FALSE(items.isEnabled());
}

TEST_F(AutostartFixture, EntryHiddenByTheDesktopCountsAsOff) {
    XdgAutostartLoginItems items(autostart, "/usr/bin/tarvelo", "");
    fs::create_directories(autostart);
    for (const char* line : {"Hidden=true", "X-GNOME-Autostart-enabled=false"}) {
        std::ofstream(items.entry()) << "[Desktop Entry]\nType=Application\n" << line << "\n";
        EXPECT_FALSE(items.isEnabled()) << line;
    }
}

// Found by fuzzing: a line break in the executable's path ended the Exec key, and the rest of the path
// became keys of its own.
TEST_F(AutostartFixture, LineBreaksInTheExecutablePathStayInsideTheExecKey) {
    XdgAutostartLoginItems items(autostart, "/opt/a\nHidden=true\r\tb/tarvelo", "");
    EXPECT_EQ(items.registerItem(), std::nullopt);
    EXPECT_TRUE(items.isEnabled());
    EXPECT_NE(text(items.entry()).find("Exec=\"/opt/a\\nHidden=true\\r\\tb/tarvelo\"\n"), std::string::npos)
        << text(items.entry());
}

TEST_F(AutostartFixture, FailureReturnsTheSystemsMessage) {
    // A file where the autostart folder should be.
    std::ofstream(autostart) << "in the way";
    XdgAutostartLoginItems items(autostart, "/usr/bin/tarvelo", "");
    const auto error = items.registerItem();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(folder.string()), std::string::npos) << *error;
    EXPECT_NE(error->find("Not a directory"), std::string::npos) << *error;
    EXPECT_FALSE(items.isEnabled());
}

}  // namespace
}  // namespace tarvelo::desktop
