// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/input_source_service.h"

#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/fake/fake_input_context.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/manual_scheduler.h"

namespace tarvelo {
namespace {

TEST(InputSourceService, NamesTheLayoutFromItsIdentifier) {
    struct Case {
        std::optional<std::string> identifier;
        const char* name;
    };
    const Case cases[] = {
        {"com.apple.keylayout.Russian", "Russian"},
        {"com.apple.keylayout.RussianWin", "Russian"},
        {"com.apple.keylayout.ABC", "English"},
        {"com.apple.keylayout.US", "English"},
        {"com.apple.keylayout.German", "German"},
        // Substrings decide, so other layouts with "ru" or "us" in their names are named too.
        {"com.apple.keylayout.Belarusian", "Russian"},
        {"com.apple.keylayout.Australian", "English"},
        {"ru", "Russian"},
        {"us", "English"},
        {"de", "de"},
        {"com.example.layout.", "layout"},
        {".", "."},
        {"", ""},
        {std::nullopt, "Unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InputSourceService::displayNameFor(c.identifier), c.name) << c.identifier.value_or("(none)");
    }
}

TEST(InputSourceService, ReadsTheLayoutAtOnceAndEveryTwoSeconds) {
    ManualClock clock;
    ManualScheduler scheduler(clock);
    FakeInputContext context;
    context.select("com.apple.keylayout.US");
    auto service = std::make_unique<InputSourceService>(context, scheduler);
    EXPECT_EQ(service->displayName().get(), "English");

    context.select("com.apple.keylayout.Russian");
    scheduler.advance(1.9);
    EXPECT_EQ(service->displayName().get(), "English");
    scheduler.advance(0.1);
    EXPECT_EQ(service->displayName().get(), "Russian");
    context.select(std::nullopt);
    scheduler.advance(2.0);
    EXPECT_EQ(service->displayName().get(), "Unknown");

    service.reset();
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    scheduler.advance(2.0);  // a timer left behind would run on a destroyed service here
}

}  // namespace
}  // namespace tarvelo
