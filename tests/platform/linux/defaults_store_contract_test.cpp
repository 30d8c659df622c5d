// SPDX-License-Identifier: GPL-3.0-or-later
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include "platform/fake/memory_defaults_store.h"
#include "platform/linux/json_file_defaults_store.h"

// The memory store stands in for the file store in every other test, so both must answer alike.
namespace tarvelo {
namespace {

namespace fs = std::filesystem;

struct StoreMaker {
    const char* name;
    std::function<std::unique_ptr<DefaultsStore>(const fs::path& folder)> make;

    friend void PrintTo(const StoreMaker& maker, std::ostream* out) { *out << maker.name; }
};

class DefaultsStoreContract : public ::testing::TestWithParam<StoreMaker> {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tarvelo-contract-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        store_ = GetParam().make(folder_);
    }
    void TearDown() override {
        store_.reset();
        fs::remove_all(folder_);
    }
    DefaultsStore& store() { return *store_; }

private:
    fs::path folder_;
    std::unique_ptr<DefaultsStore> store_;
};

TEST_P(DefaultsStoreContract, ReadsFallBackFromStoredToRegisteredToNothing) {
    store().registerDefaults({{"flag", true}, {"number", 0.72}, {"count", std::int64_t{4}}});
    EXPECT_TRUE(store().boolForKey("flag"));
    EXPECT_DOUBLE_EQ(store().doubleForKey("number"), 0.72);
    EXPECT_EQ(store().integerForKey("count"), 4);
    EXPECT_FALSE(store().boolForKey("absent"));
    EXPECT_EQ(store().doubleForKey("absent"), 0.0);
    EXPECT_EQ(store().integerForKey("absent"), 0);
    EXPECT_EQ(store().object("absent"), std::nullopt);

    store().setBool("flag", false);
    EXPECT_FALSE(store().boolForKey("flag"));
    store().remove("flag");
    EXPECT_TRUE(store().boolForKey("flag"));
    store().registerDefaults({{"flag", false}});  // a later registration replaces the earlier one
    EXPECT_FALSE(store().boolForKey("flag"));
}

TEST_P(DefaultsStoreContract, TypedReadsConvertNumbersAndRefuseOtherKinds) {
    store().setInteger("integer", 3);
    store().setDouble("double", 2.9);
    store().setDouble("nan", std::nan(""));
    store().setObject("strings", DefaultsValue(DefaultsStringArray{"a", "b"}));
    store().setObject("data", DefaultsValue(DefaultsData{1, 2, 3}));
    store().setObject("date", DefaultsValue(DefaultsDate{1.5}));

    EXPECT_TRUE(store().boolForKey("integer"));
    EXPECT_DOUBLE_EQ(store().doubleForKey("integer"), 3.0);
    EXPECT_EQ(store().integerForKey("double"), 2);
    EXPECT_EQ(store().integerForKey("nan"), 0);
    EXPECT_FALSE(store().boolForKey("strings"));
    EXPECT_EQ(store().stringArrayForKey("strings"), (DefaultsStringArray{"a", "b"}));
    EXPECT_EQ(store().stringArrayForKey("data"), std::nullopt);
    EXPECT_EQ(store().dataForKey("data"), (DefaultsData{1, 2, 3}));
    EXPECT_EQ(store().dataForKey("strings"), std::nullopt);
    EXPECT_EQ(store().object("date"), DefaultsValue(DefaultsDate{1.5}));
    EXPECT_EQ(store().doubleForKey("date"), 0.0);
    EXPECT_EQ(store().problem(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, DefaultsStoreContract,
    ::testing::Values(StoreMaker{"memory", [](const fs::path&) { return std::make_unique<MemoryDefaultsStore>(); }},
                      StoreMaker{"file",
                                 [](const fs::path& folder) {
                                     return std::make_unique<desktop::JsonFileDefaultsStore>(folder / "defaults.json");
                                 }}),
    [](const ::testing::TestParamInfo<StoreMaker>& parameter) { return std::string(parameter.param.name); });

}  // namespace
}  // namespace tarvelo
