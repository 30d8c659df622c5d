// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_pages.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_navigation.h"
#include "app/settings_section.h"
#include "platform/fake/memory_defaults_store.h"
#include "platform/fake/simulated_session.h"
#include "store/application_profile.h"

namespace tarvelo {
namespace {

using namespace settings_pages;

TEST(SettingsSection, EightSectionsInSidebarOrderWithTheirSymbols) {
    std::vector<std::string> titles;
    std::set<std::string> symbols;
    for (const SettingsSection section : kAllSettingsSections) {
        titles.emplace_back(title(section));
        symbols.emplace(systemImage(section));
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"General", "Auto Switch", "Hotkeys", "Languages", "Exceptions",
                                                "Applications", "Privacy", "Statistics"}));
    EXPECT_EQ(symbols.size(), 8u);
    EXPECT_EQ(systemImage(SettingsSection::statistics), "chart.bar.xaxis");
    EXPECT_EQ(SettingsNavigation{}.requestedSection.get(), SettingsSection::general);
}

TEST(SettingsPages, PauseBlockFollowsThePause) {
    SimulatedSession session;
    const auto time = [](double moment) { return "at " + std::to_string(static_cast<long long>(moment)); };
    EXPECT_EQ(pauseStatusText(session.settings, time), "Automatic correction is active");
    EXPECT_EQ(pauseButtonTitle(session.settings), "Pause for 5 Minutes");

    pressPauseButton(session.settings);
    const double until = session.clock.now() + 300.0;
    EXPECT_EQ(pauseStatusText(session.settings, time), "Paused until " + time(until));
    EXPECT_EQ(pauseButtonTitle(session.settings), "Resume");
    session.wait(299.0);
    EXPECT_EQ(pauseButtonTitle(session.settings), "Resume");
    session.wait(1.0);
    EXPECT_EQ(pauseStatusText(session.settings, time), "Automatic correction is active");

    pressPauseButton(session.settings);
    pressPauseButton(session.settings);
    EXPECT_FALSE(session.settings.pauseUntil.get());
}

TEST(SettingsPages, ThresholdIsTruncatedToWholePercent) {
    const std::pair<double, const char*> cases[] = {
        {0.65, "Current threshold: 65%"}, {0.6599999, "Current threshold: 65%"}, {0.72, "Current threshold: 72%"},
        {0.58, "Current threshold: 58%"}, {0.29, "Current threshold: 29%"},     {0.0, "Current threshold: 0%"},
        {1.0, "Current threshold: 100%"}, {0.009, "Current threshold: 0%"},
    };
    for (const auto& [sensitivity, text] : cases) EXPECT_EQ(thresholdText(sensitivity), text) << sensitivity;
}

TEST(SettingsPages, SubmitRules) {
    for (const char* blank : {"", " ", "\t \t"}) EXPECT_FALSE(canAddException(blank)) << '"' << blank << '"';
    for (const char* word : {"a", " API ", "\tgit"}) EXPECT_TRUE(canAddException(word)) << word;
    // A newline is not trimmed here; the manager decides what it makes of it.
    EXPECT_TRUE(canAddException("\n"));

    MemoryDefaultsStore store;
    const ApplicationFilter onAMac(store, macApplicationProfile());
    for (const char* text : {"", "Terminal", " "}) EXPECT_FALSE(canExclude(onAMac, text)) << text;
    for (const char* text : {".", "com.example.App", " org.gnome.Terminal "}) EXPECT_TRUE(canExclude(onAMac, text)) << text;
    // X11 window classes mostly have no full stop.
    const ApplicationFilter onLinux(store, linuxApplicationProfile());
    for (const char* text : {"", " \t "}) EXPECT_FALSE(canExclude(onLinux, text)) << text;
    for (const char* text : {"konsole", " XTerm", "org.gnome.Terminal"}) EXPECT_TRUE(canExclude(onLinux, text)) << text;
}

TEST(SettingsPages, CustomExclusionsAreTheUnknownIdentifiersInOrder) {
    SimulatedSession session;
    ApplicationFilter& filter = session.app.applicationFilter;
    const auto custom = [&] { return customExclusions(filter.disabledBundleIdentifiers().get(), filter.knownApplications()); };
    EXPECT_TRUE(custom().empty()) << "the built-in exclusions are known applications";

    filter.add("Com.Example.App");
    filter.add("com.another.App");
    filter.setDisabled(false, "org.gnome.Terminal");
    EXPECT_EQ(custom(), (std::vector<std::string>{"Com.Example.App", "com.another.App"}));
    EXPECT_FALSE(filter.isDisabled(std::string("org.gnome.Terminal")));

    filter.setDisabled(false, "Com.Example.App");
    EXPECT_EQ(custom(), std::vector<std::string>{"com.another.App"});
}

TEST(SettingsPages, StatisticsTotalsLeaveUndosOut) {
    SimulatedSession session;
    EXPECT_EQ(summarize(session.statistics), StatisticsSummary{});

    session.statistics.recordCorrection(ConversionDirection::englishToRussian);
    session.statistics.recordCorrection(ConversionDirection::englishToRussian);
    session.statistics.recordCorrection(ConversionDirection::russianToEnglish);
    session.statistics.recordUndo();
    EXPECT_EQ(summarize(session.statistics), (StatisticsSummary{3, 3, 2, 1, 1}));

    session.wait(2 * 86400.0);  // the session starts on a Monday; weeks start on Monday

    session.statistics.recordCorrection(ConversionDirection::russianToEnglish);
    EXPECT_EQ(summarize(session.statistics), (StatisticsSummary{1, 4, 2, 2, 1}));
    session.wait(5 * 86400.0);  // Monday again: a new week
    EXPECT_EQ(summarize(session.statistics), StatisticsSummary{});
}

TEST(SettingsPages, StatusAndDesktopLimitations) {
    EXPECT_TRUE(isHealthy(OperationalStatus::active));
    for (const auto status : {OperationalStatus::paused, OperationalStatus::disabled,
                              OperationalStatus::permissionsRequired, OperationalStatus::monitorUnavailable}) {
        EXPECT_FALSE(isHealthy(status));
    }
    EXPECT_TRUE(desktopLimitations(false, {}).empty());
    const auto lines = desktopLimitations(true, {"Alt+Space"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("Wayland"), std::string::npos);
    EXPECT_EQ(lines[1].rfind("Alt+Space is held by another program", 0), 0u);

    EXPECT_NE(keyboardBackendDescription(KeyboardSource::ibus).find("IBus"), std::string::npos);
    EXPECT_NE(keyboardBackendDescription(KeyboardSource::fcitx5).find("fcitx5"), std::string::npos);
    EXPECT_NE(keyboardBackendDescription(KeyboardSource::x11).find("X server"), std::string::npos);
}

}  // namespace
}  // namespace tarvelo
