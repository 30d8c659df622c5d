// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/exception_manager.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/memory_defaults_store.h"
#include "store/defaults_keys.h"
#include "text/case_mapping.h"

namespace tarvelo {
namespace {

using Words = std::vector<std::string>;

DefaultsValue storedWords(const MemoryDefaultsStore& store) { return store.object(defaults_keys::exceptions).value(); }

TEST(ExceptionManager, LoadsTheStoredListAsItIsAndWritesItBack) {
    struct Case {
        const char* name;
        std::optional<DefaultsValue> stored;
        Words expected;
    };
    const Case cases[] = {
        {"absent", std::nullopt, {}},
        {"unsorted", DefaultsValue(Words{"zeta", " Alpha", "alpha"}), {"zeta", " Alpha", "alpha"}},
        {"not an array of strings", DefaultsValue(std::int64_t{7}), {}},
        {"data", DefaultsValue(DefaultsData{1, 2}), {}},
    };
    for (const Case& testCase : cases) {
        MemoryDefaultsStore store;
        if (testCase.stored) store.setObject(defaults_keys::exceptions, *testCase.stored);
        ExceptionManager exceptions(store);
        EXPECT_EQ(exceptions.words().get(), testCase.expected) << testCase.name;
        EXPECT_EQ(storedWords(store), DefaultsValue(testCase.expected)) << testCase.name;
    }
}

TEST(ExceptionManager, AddTrimsSkipsBlanksAndDuplicatesInAnyCase) {
    MemoryDefaultsStore store;
    ExceptionManager exceptions(store);
    exceptions.add("  GitHub\n");
    const int writes = store.writeCount();
    for (const char* ignored : {"GITHUB", " github ", "", " \t\n", "\u00A0"}) exceptions.add(ignored);
    EXPECT_EQ(exceptions.words().get(), Words{"GitHub"});
    EXPECT_EQ(store.writeCount(), writes);  // nothing was written for them
    EXPECT_EQ(storedWords(store), DefaultsValue(Words{"GitHub"}));
}

TEST(ExceptionManager, AdditionSortsCaseBlindAndStably) {
    MemoryDefaultsStore store;
    store.setObject(defaults_keys::exceptions, DefaultsValue(Words{"zeta", "Beta", "beta2", "BETA1"}));
    ExceptionManager exceptions(store);
    EXPECT_EQ(exceptions.words().get(), (Words{"zeta", "Beta", "beta2", "BETA1"}));
    exceptions.add("Alpha");
    EXPECT_EQ(exceptions.words().get(), (Words{"Alpha", "Beta", "BETA1", "beta2", "zeta"}));

    MemoryDefaultsStore fresh;
    ExceptionManager ordered(fresh);
    for (const char* word : {"zeta", "Alpha", "beta"}) ordered.add(word);
    EXPECT_EQ(ordered.words().get(), (Words{"Alpha", "beta", "zeta"}));
    EXPECT_EQ(storedWords(fresh), DefaultsValue(Words{"Alpha", "beta", "zeta"}));
}

TEST(ExceptionManager, RemoveIgnoresCaseAndAlwaysRewrites) {
    MemoryDefaultsStore store;
    store.setObject(defaults_keys::exceptions, DefaultsValue(Words{"iPhone", "zeta", "IPHONE", "Ёлка"}));
    ExceptionManager exceptions(store);

    exceptions.remove("IPHONE");
    EXPECT_EQ(exceptions.words().get(), (Words{"zeta", "Ёлка"}));
    exceptions.remove("ёЛКА");
    EXPECT_EQ(exceptions.words().get(), Words{"zeta"});

    const int writes = store.writeCount();
    exceptions.remove(" zeta");  // not trimmed, so not found
    EXPECT_EQ(exceptions.words().get(), Words{"zeta"});
    EXPECT_EQ(store.writeCount(), writes + 1);
}

TEST(ExceptionManager, NormalizedWordsAreTheLowerCasedEntries) {
    MemoryDefaultsStore store;
    ExceptionManager exceptions(store);
    for (const char* word : {"PostgreSQL", "ОК", "Café"}) exceptions.add(word);
    EXPECT_EQ(exceptions.normalizedWords(), (ExceptionWords{"postgresql", "ок", "café"}));
    // Decomposed input finds the same entry.
    EXPECT_EQ(exceptions.normalizedWords().count(text::comparisonKey("CAFE\u0301")), 1u);
}

}  // namespace
}  // namespace tarvelo
