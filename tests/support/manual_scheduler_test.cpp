// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/manual_scheduler.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/manual_clock.h"
#include "support/lifetime.h"

namespace tarvelo {
namespace {

class ManualSchedulerTest : public testing::Test {
protected:
    ManualClock clock_{100.0};
    ManualScheduler scheduler_{clock_};
    std::vector<std::string> log_;

    auto record(std::string name) {
        return [this, name] { log_.push_back(name + "@" + std::to_string(clock_.now() - 100.0).substr(0, 4)); };
    }
};

TEST_F(ManualSchedulerTest, RunsTasksInDeadlineOrderWithTheClockAtEachDeadline) {
    scheduler_.after(0.12, record("verify"));
    scheduler_.after(0.08, record("process"));
    scheduler_.after(0.08, record("second"));  // same deadline: scheduling order
    scheduler_.after(8.0, record("expire"));

    scheduler_.advance(0.05);
    EXPECT_TRUE(log_.empty());
    EXPECT_DOUBLE_EQ(clock_.now(), 100.05);

    scheduler_.advance(0.1);
    EXPECT_EQ(log_, (std::vector<std::string>{"process@0.08", "second@0.08", "verify@0.12"}));
    EXPECT_DOUBLE_EQ(clock_.now(), 100.15);
    EXPECT_EQ(scheduler_.pendingCount(), 1u);
    EXPECT_DOUBLE_EQ(scheduler_.nextDeadline(), 108.0);
}

TEST_F(ManualSchedulerTest, RunsTasksThatRunningTasksScheduleWhenTheyFallDue) {
    scheduler_.after(0.08, [this] {
        log_.push_back("boundary");
        scheduler_.after(0.12, record("verified"));
        scheduler_.after(0.0, record("soon"));
    });
    scheduler_.advance(0.1);
    EXPECT_EQ(log_, (std::vector<std::string>{"boundary", "soon@0.08"}));
    scheduler_.advance(0.1);
    EXPECT_EQ(log_.back(), "verified@0.20");
}

TEST_F(ManualSchedulerTest, RepeatsUntilTheTimerIsCancelled) {
    int ticks = 0;
    Subscription timer = scheduler_.every(1.0, [&] { ++ticks; });
    scheduler_.advance(3.5);
    EXPECT_EQ(ticks, 3);
    timer.cancel();
    scheduler_.advance(5.0);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(scheduler_.pendingCount(), 0u);
}

TEST_F(ManualSchedulerTest, GuardedTaskOfADestroyedOwnerDoesNothing) {
    int runs = 0;
    auto owner = std::make_unique<Lifetime>();
    scheduler_.after(0.08, owner->guard([&] { ++runs; }));
    scheduler_.after(0.08, owner->guard([&] { ++runs; }));
    scheduler_.advance(0.1);
    EXPECT_EQ(runs, 2);

    scheduler_.after(12.0, owner->guard([&] { ++runs; }));
    owner.reset();
    scheduler_.advance(12.0);
    EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace tarvelo
