// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/observable.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(Observable, NotifiesEverySubscriberOnEveryAssignment) {
    Observable<std::string> status("Idle");
    std::vector<std::string> seen;
    Subscription subscription = status.subscribe([&](const std::string& value) { seen.push_back(value); });

    status.set("Last word corrected");
    status.set("Last word corrected");  // the same value notifies again
    EXPECT_EQ(status.get(), "Last word corrected");
    EXPECT_EQ(seen, (std::vector<std::string>{"Last word corrected", "Last word corrected"}));
}

TEST(Observable, SubscriptionEndsWithItsHandle) {
    Observable<int> count(0);
    int calls = 0;
    {
        Subscription subscription = count.subscribe([&](int) { ++calls; });
        count.set(1);
        Subscription moved = std::move(subscription);
        count.set(2);
    }
    count.set(3);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(count.subscriberCount(), 0u);

    Subscription cancelled = count.subscribe([&](int) { ++calls; });
    cancelled.cancel();
    cancelled.cancel();
    count.set(4);
    EXPECT_EQ(calls, 2);
}

TEST(Observable, CallbacksMayChangeTheSubscriptionsWhileNotified) {
    Observable<int> value(0);
    std::vector<std::string> calls;
    Subscription second;
    Subscription added;
    Subscription first = value.subscribe([&](int) {
        calls.push_back("first");
        second.cancel();  // a later subscriber removed during the walk is not called
        if (!added.active()) added = value.subscribe([&](int) { calls.push_back("added"); });
    });
    second = value.subscribe([&](int) { calls.push_back("second"); });

    value.set(1);
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    value.set(2);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "first", "added"}));
}

TEST(Observable, SubscriptionOutlivingItsObservableIsInert) {
    Subscription subscription;
    {
        Observable<int> shortLived(0);
        subscription = shortLived.subscribe([](int) {});
    }
    subscription.cancel();  // must not touch the destroyed observable
    EXPECT_FALSE(subscription.active());
}

}  // namespace
}  // namespace tarvelo
