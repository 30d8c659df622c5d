// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/application_filter.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/memory_defaults_store.h"
#include "store/defaults_keys.h"

namespace tarvelo {
namespace {

using Identifiers = std::set<std::string>;
using Strings = std::vector<std::string>;

TEST(ApplicationFilter, FirstStartExcludesTheProfilesTerminals) {
    struct Case {
        ApplicationProfile profile;
        Strings stored;
    };
    const Case cases[] = {
        {macApplicationProfile(), {"com.apple.Terminal", "com.googlecode.iterm2"}},
        {linuxApplicationProfile(), {"XTerm", "konsole", "org.gnome.Terminal"}},
    };
    for (const Case& testCase : cases) {
        MemoryDefaultsStore store;
        ApplicationFilter filter(store, testCase.profile);
        EXPECT_EQ(filter.disabledBundleIdentifiers().get(), Identifiers(testCase.stored.begin(), testCase.stored.end()));
        EXPECT_EQ(store.object(defaults_keys::disabledBundleIdentifiers), DefaultsValue(testCase.stored));
        EXPECT_EQ(store.integerForKey(defaults_keys::applicationsDefaultsVersion), 2);
        EXPECT_EQ(filter.knownApplications().size(), 5u);
    }
}

TEST(ApplicationFilter, VersionTwoReleasesTheDevelopmentEnvironmentsOnce) {
    struct Case {
        const char* name;
        ApplicationProfile profile;
        Strings stored;
        std::optional<std::int64_t> version;
        Identifiers expected;
    };
    const Case cases[] = {
        {"mac, no version", macApplicationProfile(),
         {"com.apple.Terminal", "com.apple.dt.Xcode", "com.example.Custom", "com.microsoft.VSCode"},
         std::nullopt, {"com.apple.Terminal", "com.example.Custom"}},
        {"mac, version 1", macApplicationProfile(), {"com.jetbrains.pycharm", "com.example.Custom"}, 1,
         {"com.example.Custom"}},
        {"mac, version 2", macApplicationProfile(), {"com.apple.Terminal", "com.apple.dt.Xcode", "com.example.Custom"}, 2,
         {"com.apple.Terminal", "com.apple.dt.Xcode", "com.example.Custom"}},
        {"linux, no version", linuxApplicationProfile(), {"konsole", "Code", "jetbrains-pycharm", "com.apple.dt.Xcode"},
         std::nullopt, {"konsole", "com.apple.dt.Xcode"}},
        {"linux, version 2", linuxApplicationProfile(), {"Code"}, 2, {"Code"}},
    };
    for (const Case& testCase : cases) {
        MemoryDefaultsStore store;
        store.setObject(defaults_keys::disabledBundleIdentifiers, DefaultsValue(testCase.stored));
        if (testCase.version) store.setInteger(defaults_keys::applicationsDefaultsVersion, *testCase.version);
        {
            ApplicationFilter filter(store, testCase.profile);
            EXPECT_EQ(filter.disabledBundleIdentifiers().get(), testCase.expected) << testCase.name;
            EXPECT_EQ(store.integerForKey(defaults_keys::applicationsDefaultsVersion), 2) << testCase.name;
            // The user excludes an environment again after the migration: it stays.
            for (const std::string& identifier : testCase.profile.developmentEnvironments) filter.setDisabled(true, identifier);
        }
        ApplicationFilter restarted(store, testCase.profile);
        for (const std::string& identifier : testCase.profile.developmentEnvironments) {
            EXPECT_TRUE(restarted.isDisabled(identifier)) << testCase.name << " " << identifier;
        }
    }
}

TEST(ApplicationFilter, StoredValueThatIsNotAnArrayOfStringsGivesTheDefaults) {
    MemoryDefaultsStore store;
    store.setObject(defaults_keys::disabledBundleIdentifiers, DefaultsValue(std::int64_t{3}));
    ApplicationFilter filter(store, macApplicationProfile());
    EXPECT_EQ(filter.disabledBundleIdentifiers().get(), (Identifiers{"com.apple.Terminal", "com.googlecode.iterm2"}));
}

TEST(ApplicationFilter, AddTrimsAndAcceptsOnlyWhatCanNameAnApplication) {
    struct Case {
        ApplicationProfile profile;
        const char* input;
        std::optional<std::string> added;
    };
    const Case cases[] = {
        {macApplicationProfile(), "  com.example.Editor\n", "com.example.Editor"},
        {macApplicationProfile(), "Editor", std::nullopt},
        {macApplicationProfile(), "   ", std::nullopt},
        {macApplicationProfile(), "", std::nullopt},
        {linuxApplicationProfile(), " firefox\t", "firefox"},
        {linuxApplicationProfile(), " \n", std::nullopt},
    };
    for (const Case& testCase : cases) {
        MemoryDefaultsStore store;
        ApplicationFilter filter(store, testCase.profile);
        const Identifiers before = filter.disabledBundleIdentifiers().get();
        const int writes = store.writeCount();
        EXPECT_EQ(filter.canAdd(testCase.input), testCase.added.has_value()) << testCase.input;
        filter.add(testCase.input);
        Identifiers expected = before;
        if (testCase.added) expected.insert(*testCase.added);
        EXPECT_EQ(filter.disabledBundleIdentifiers().get(), expected) << testCase.input;
        EXPECT_EQ(store.writeCount(), writes + (testCase.added ? 1 : 0)) << testCase.input;
    }
}

TEST(ApplicationFilter, MembershipIsExactAndTheStoredArrayIsInCodePointOrder) {
    MemoryDefaultsStore store;
    ApplicationFilter filter(store, macApplicationProfile());
    filter.add("org.example.app");
    filter.add("org.example.App");
    filter.add("Org.Example.Tool");
    EXPECT_TRUE(filter.isDisabled("org.example.App"));
    EXPECT_FALSE(filter.isDisabled("ORG.EXAMPLE.APP"));
    EXPECT_FALSE(filter.isDisabled(" org.example.app"));
    EXPECT_FALSE(filter.isDisabled(std::nullopt));
    EXPECT_EQ(store.object(defaults_keys::disabledBundleIdentifiers),
              DefaultsValue(Strings{"Org.Example.Tool", "com.apple.Terminal", "com.googlecode.iterm2", "org.example.App",
                                    "org.example.app"}));

    const int writes = store.writeCount();
    filter.setDisabled(false, "com.example.NotThere");
    EXPECT_EQ(store.writeCount(), writes + 1);
    filter.setDisabled(false, "com.apple.Terminal");
    EXPECT_FALSE(filter.isDisabled("com.apple.Terminal"));
}

}  // namespace
}  // namespace tarvelo
