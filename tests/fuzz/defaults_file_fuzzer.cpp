// SPDX-License-Identifier: GPL-3.0-or-later
// The defaults file as the application reads it at start: arbitrary bytes in defaults.json, read by the
// store and by every manager that keeps its values there, then one change written back.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_check.h"
#include "scratch_folder.h"
#include "platform/fake/fake_login_items.h"
#include "platform/fake/fake_notification_center.h"
#include "platform/fake/fixed_calendar.h"
#include "platform/fake/manual_clock.h"
#include "platform/linux/json_file_defaults_store.h"
#include "store/application_filter.h"
#include "store/exception_manager.h"
#include "store/settings_manager.h"
#include "store/statistics_manager.h"

using namespace tarvelo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = scratchFolder("defaults");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "defaults.json";
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    desktop::JsonFileDefaultsStore store(file);
    ManualClock clock;
    FixedCalendar calendar(0.0, Weekday::monday, "UTC");
    FakeLoginItems loginItems;
    FakeNotificationCenter notificationCenter;
    SettingsManager settings(store, clock, loginItems, notificationCenter);
    ExceptionManager exceptions(store);
    ApplicationFilter filter(store, linuxApplicationProfile());
    StatisticsManager statistics(store, clock, calendar);
    (void)exceptions.normalizedWords();
    (void)statistics.today();
    (void)statistics.thisWeek();
    exceptions.add("ghbdtn");
    statistics.recordUndo();

    // What was written reads back the same.
    desktop::JsonFileDefaultsStore reread(file);
    FUZZ_CHECK(reread.stringArrayForKey("learning.exceptions") == store.stringArrayForKey("learning.exceptions"));
    return 0;
}
