// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/glib_scheduler.h"

#include <glib.h>

#include <string>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

// Iterates the default main context until `done` or a generous limit, so that a broken scheduler fails
// the test instead of hanging it.
template <typename Done>
void iterateUntil(Done done) {
    const gint64 limit = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
    while (!done() && g_get_monotonic_time() < limit) g_main_context_iteration(nullptr, TRUE);
}

TEST(GlibScheduler, RunsTasksLaterInDeadlineOrder) {
    GlibScheduler scheduler;
    std::string order;
    scheduler.after(0.02, [&] { order += "b"; });
    scheduler.after(0.0, [&] { order += "a"; });
    EXPECT_EQ(order, "");  // never inside the call that schedules
    iterateUntil([&] { return order.size() == 2; });
    EXPECT_EQ(order, "ab");
}

TEST(GlibScheduler, RepeatsUntilTheSubscriptionEnds) {
    GlibScheduler scheduler;
    int ticks = 0;
    Subscription timer = scheduler.every(0.001, [&] { ++ticks; });
    iterateUntil([&] { return ticks >= 3; });
    timer.cancel();
    const int stopped = ticks;
    bool later = false;
    scheduler.after(0.01, [&] { later = true; });
    iterateUntil([&] { return later; });
    EXPECT_EQ(ticks, stopped);
}

TEST(GlibScheduler, DropsWhatIsPendingWhenDestroyed) {
    bool ran = false;
    {
        GlibScheduler scheduler;
        scheduler.after(0.0, [&] { ran = true; });
        Subscription kept = scheduler.every(0.001, [&] { ran = true; });
        kept.cancel();
    }
    for (int i = 0; i < 10; ++i) g_main_context_iteration(nullptr, FALSE);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace tarvelo::desktop
