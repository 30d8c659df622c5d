#include "platform/linux/xdg_autostart_login_items.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

namespace fs = std::filesystem;

struct AutostartFixture : ::testing::Test {
    fs::path folder;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tarvelo-autostart-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string entryText(const fs::path& entry) {
        std::ifstream stream(entry);
        std::stringstream content;
        content << stream.rdbuf();
        return content.str();
    }
};

TEST_F(AutostartFixture, RegisterWritesADesktopEntryAndUnregisterRemovesIt) {
    const fs::path entry = folder / "autostart" / "tarvelo.desktop";
    XdgAutostartLoginItems items(entry, "/opt/Tar velo/bin/tarvelo$1%");
    EXPECT_FALSE(items.isEnabled());

    EXPECT_EQ(items.registerItem(), std::nullopt);
    EXPECT_TRUE(items.isEnabled());
    const std::string text = entryText(entry);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("Type=Application\n"), std::string::npos);
    // Quoted for the Exec rules, then with the backslash escaped for the file's string rule.
    EXPECT_NE(text.find("Exec=\"/opt/Tar velo/bin/tarvelo\\\\$1%%\"\n"), std::string::npos) << text;

    EXPECT_EQ(items.registerItem(), std::nullopt);  // again: still one entry
    EXPECT_EQ(items.unregisterItem(), std::nullopt);
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(items.unregisterItem(), std::nullopt);  // nothing to remove is no failure
}

TEST_F(AutostartFixture, EntryHiddenByTheDesktopCountsAsOff) {
    const fs::path entry = folder / "tarvelo.desktop";
    for (const char* line : {"Hidden=true", "X-GNOME-Autostart-enabled=false"}) {
        std::ofstream(entry) << "[Desktop Entry]\nType=Application\n" << line << "\n";
        EXPECT_FALSE(XdgAutostartLoginItems(entry, "/usr/bin/tarvelo").isEnabled()) << line;
    }
}

// Found by fuzzing: a line break in the executable's path ended the Exec key, and the rest of the path
// became keys of its own.
TEST_F(AutostartFixture, LineBreaksInTheExecutablePathStayInsideTheExecKey) {
    const fs::path entry = folder / "tarvelo.desktop";
    XdgAutostartLoginItems items(entry, "/opt/a\nHidden=true\r\tb/tarvelo");
    EXPECT_EQ(items.registerItem(), std::nullopt);
    EXPECT_TRUE(items.isEnabled());
    EXPECT_NE(entryText(entry).find("Exec=\"/opt/a\\nHidden=true\\r\\tb/tarvelo\"\n"), std::string::npos)
        << entryText(entry);
}

TEST_F(AutostartFixture, FailureReturnsTheSystemsMessage) {
    // A file where the autostart folder should be.
    std::ofstream(folder / "autostart") << "in the way";
    XdgAutostartLoginItems items(folder / "autostart" / "tarvelo.desktop", "/usr/bin/tarvelo");
    const auto error = items.registerItem();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(folder.string()), std::string::npos) << *error;
    EXPECT_NE(error->find("Not a directory"), std::string::npos) << *error;
    EXPECT_FALSE(items.isEnabled());
}

}  // namespace
}  // namespace tarvelo::desktop
