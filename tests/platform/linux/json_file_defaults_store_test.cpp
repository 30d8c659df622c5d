// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/json_file_defaults_store.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tarvelo::desktop {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "tarvelo-store-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TemporaryFolder() {
        std::error_code error;
        fs::permissions(path_, fs::perms::owner_all, error);
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string read(const fs::path& file) {
    std::ifstream stream(file);
    std::stringstream content;
    content << stream.rdbuf();
    return content.str();
}

void write(const fs::path& file, const std::string& content) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << content;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct FileStoreFixture : ::testing::Test {
    TemporaryFolder folder;
    fs::path file = folder.path() / "tarvelo" / "defaults.json";
};

TEST_F(FileStoreFixture, EveryKindSurvivesANewStoreOnTheSameFile) {
    const DefaultsValues values = {
        {"bool", true},
        {"double", 0.1 + 0.2},
        {"double.nan", std::nan("")},
        {"double.infinite", -HUGE_VAL},
        {"integer", std::int64_t{-9'007'199'254'740'993}},
        {"date", DefaultsDate{1'796'515'200.123456}},
        {"strings", DefaultsStringArray{"привет", "", "a\"b\\c\n"}},
        {"data", DefaultsData{0x00, 0xFF, 0x10, '[', ']'}},
        {"data.empty", DefaultsData{}},
        {"data.one", DefaultsData{0x7F}},
        {"data.two", DefaultsData{0x80, 0x01}},
    };
    {
        JsonFileDefaultsStore store(file);
        for (const auto& [key, value] : values) store.setObject(key, value);
        store.remove("bool");
        store.setBool("bool", false);
        EXPECT_EQ(store.problem(), std::nullopt);
    }
    JsonFileDefaultsStore reopened(file);
    for (const auto& [key, value] : values) {
        const auto read = reopened.object(key);
        ASSERT_TRUE(read.has_value()) << key;
        if (key == "double.nan") {
            EXPECT_TRUE(std::isnan(std::get<double>(*read)));
        } else if (key == "bool") {
            EXPECT_EQ(*read, DefaultsValue(false));
        } else {
            EXPECT_EQ(*read, value) << key;
        }
    }
    // The file is private to the user and holds no temporary leftovers.
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(namesIn(file.parent_path()), (std::vector<std::string>{"defaults.json", "defaults.json.lock"}));
}

TEST_F(FileStoreFixture, RegisteredValuesAnswerReadsButAreNeverWritten) {
    JsonFileDefaultsStore store(file);
    store.registerDefaults({{"settings.sensitivity", 0.72}, {"settings.menuIcon", true}});
    store.setBool("settings.autoSwitch", false);
    EXPECT_DOUBLE_EQ(store.doubleForKey("settings.sensitivity"), 0.72);
    const nlohmann::json json = nlohmann::json::parse(read(file));
    EXPECT_EQ(json["values"].size(), 1u);
    EXPECT_TRUE(json["values"].contains("settings.autoSwitch"));

    JsonFileDefaultsStore reopened(file);
    EXPECT_FALSE(reopened.object("settings.sensitivity").has_value());
    EXPECT_FALSE(reopened.boolForKey("settings.menuIcon"));
}

TEST_F(FileStoreFixture, EntriesThatDoNotFitTheirKindReadAsNoneAndAreKeptOnWrite) {
    write(file, R"({"format": 1, "values": {
        "mixed": {"kind": "strings", "value": ["a", 1]},
        "future": {"kind": "colour", "value": "#ff0000"},
        "bad.data": {"kind": "data", "value": "not base64!"},
        "plain": 5
    }})");
    JsonFileDefaultsStore store(file);
    for (const char* key : {"mixed", "future", "bad.data", "plain"}) EXPECT_FALSE(store.object(key).has_value()) << key;
    EXPECT_EQ(store.stringArrayForKey("mixed"), std::nullopt);
    store.registerDefaults({{"future", true}});
    EXPECT_FALSE(store.boolForKey("future"));  // a stored entry, even an unknown one, hides the default

    store.setInteger("new", 1);
    const nlohmann::json json = nlohmann::json::parse(read(file));
    EXPECT_EQ(json["values"]["future"]["value"], "#ff0000");
    EXPECT_EQ(json["values"]["plain"], 5);
    EXPECT_EQ(store.problem(), std::nullopt);
}

TEST_F(FileStoreFixture, DamagedFileIsKeptAsideAndTheStoreStartsEmpty) {
    for (const std::string damaged : {"{\"format\": 1, \"values\": {\"settings.sound\": {\"kind\": \"boo",
                                      "[1, 2, 3]", "", "\xFF\xFE garbage"}) {
        fs::remove_all(file.parent_path());
        write(file, damaged);
        JsonFileDefaultsStore store(file);
        EXPECT_FALSE(store.object("settings.sound").has_value());
        ASSERT_TRUE(store.problem().has_value());
        EXPECT_NE(store.problem()->find("defaults.json.damaged-"), std::string::npos) << *store.problem();

        std::vector<std::string> names = namesIn(file.parent_path());
        ASSERT_EQ(names.size(), 2u);  // the damaged copy and the lock file
        EXPECT_EQ(names[1], "defaults.json.lock");
        const fs::path aside = file.parent_path() / names[0];
        EXPECT_EQ(names[0].rfind("defaults.json.damaged-", 0), 0u) << names[0];
        EXPECT_EQ(read(aside), damaged);

        store.setBool("settings.sound", true);
        EXPECT_EQ(read(aside), damaged);
        EXPECT_TRUE(JsonFileDefaultsStore(file).boolForKey("settings.sound"));
    }
}

TEST_F(FileStoreFixture, FolderThatCannotBeWrittenKeepsValuesInMemoryAndSaysSo) {
    // A regular file where the folder should be: creating the folder fails, even for root.
    write(folder.path() / "tarvelo", "in the way");

    JsonFileDefaultsStore store(file);
    store.setDouble("settings.sensitivity", 0.5);
    EXPECT_DOUBLE_EQ(store.doubleForKey("settings.sensitivity"), 0.5);
    ASSERT_TRUE(store.problem().has_value());
    EXPECT_NE(store.problem()->find("cannot save"), std::string::npos) << *store.problem();

    // Once the folder can be made, the next change saves everything kept so far.
    fs::remove(folder.path() / "tarvelo");
    store.setBool("settings.sound", true);
    EXPECT_EQ(store.problem(), std::nullopt);
    JsonFileDefaultsStore reopened(file);
    EXPECT_DOUBLE_EQ(reopened.doubleForKey("settings.sensitivity"), 0.5);
    EXPECT_TRUE(reopened.boolForKey("settings.sound"));
}

TEST_F(FileStoreFixture, FileThatCannotBeReadIsNeverReplaced) {
    // A folder in the file's place cannot be read as a file, whoever runs the test.
    fs::create_directories(file / "keep");
    JsonFileDefaultsStore store(file);
    ASSERT_TRUE(store.problem().has_value());
    store.setBool("settings.sound", true);
    EXPECT_TRUE(store.boolForKey("settings.sound"));
    EXPECT_TRUE(fs::is_directory(file / "keep"));
    EXPECT_NE(store.problem()->find("will not save"), std::string::npos) << *store.problem();
}

TEST_F(FileStoreFixture, TwoStoresOnOneFileKeepEachOthersWrites) {
    JsonFileDefaultsStore first(file);
    JsonFileDefaultsStore second(file);
    first.setBool("settings.sound", true);
    second.setDouble("settings.sensitivity", 0.4);
    first.remove("settings.sound");
    first.setInteger("applications.defaultsVersion", 2);

    JsonFileDefaultsStore reopened(file);
    EXPECT_FALSE(reopened.object("settings.sound").has_value());
    EXPECT_DOUBLE_EQ(reopened.doubleForKey("settings.sensitivity"), 0.4);
    EXPECT_EQ(reopened.integerForKey("applications.defaultsVersion"), 2);
}

TEST_F(FileStoreFixture, ProcessKilledWhileWritingLeavesAFileThatParses) {
    for (const int writesBeforeKill : {1, 7, 40, 150}) {
        fs::remove_all(file.parent_path());
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(ready[0]);
            JsonFileDefaultsStore store(file);
            const DefaultsStringArray padding(200, std::string(100, 'x'));
            for (std::int64_t count = 1;; ++count) {
                store.setObject("padding", DefaultsValue(padding));
                store.setInteger("count", count);
                const char tick = 1;
                if (::write(ready[1], &tick, 1) != 1) ::_exit(1);
            }
        }
        ::close(ready[1]);
        char tick = 0;
        for (int seen = 0; seen < writesBeforeKill; ++seen) ASSERT_EQ(::read(ready[0], &tick, 1), 1);
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        ::close(ready[0]);
        ASSERT_TRUE(WIFSIGNALED(status));

        JsonFileDefaultsStore survivor(file);
        EXPECT_EQ(survivor.problem(), std::nullopt) << writesBeforeKill;
        EXPECT_GE(survivor.integerForKey("count"), writesBeforeKill);
        EXPECT_EQ(survivor.stringArrayForKey("padding").value_or(DefaultsStringArray{}).size(), 200u);
        // The survivor cleared any temporary file the killed writer left behind.
        EXPECT_EQ(namesIn(file.parent_path()), (std::vector<std::string>{"defaults.json", "defaults.json.lock"}));
    }
}

TEST(JsonFileDefaultsStorePath, FollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/config-home", 1);
    EXPECT_EQ(JsonFileDefaultsStore::userFilePath(), fs::path("/tmp/config-home/tarvelo/defaults.json"));
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // invalid, so ignored
    const fs::path fallback = JsonFileDefaultsStore::userFilePath();
    EXPECT_EQ(fallback.filename(), "defaults.json");
    EXPECT_EQ(fallback.parent_path().parent_path().filename(), ".config");
    if (saved) {
        ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace tarvelo::desktop
