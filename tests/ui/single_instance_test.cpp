// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/single_instance.h"

#include <atomic>
#include <thread>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvelo::ui {
namespace {

// Asks from another thread, as a second process would, while this thread runs the event loop.
bool notifyFromElsewhere(const QString& path, SingleInstance::Request request = SingleInstance::Request::reopen) {
    std::atomic<bool> done = false;
    bool answered = false;
    std::thread second([&] {
        SingleInstance other(path);
        answered = other.notifyRunningInstance(2000, request);
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    second.join();
    return answered;
}

TEST(SingleInstance, ALaterLaunchReopensTheRunningOneInsteadOfStartingAgain) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("tarvelo.socket");

    EXPECT_FALSE(notifyFromElsewhere(path)) << "nobody runs yet";

    int reopened = 0;
    int servedEngines = 0;
    {
        SingleInstance first(path);
        ASSERT_TRUE(first.listen([&] { ++reopened; }, [&] { ++servedEngines; }));
        EXPECT_TRUE(notifyFromElsewhere(path));
        EXPECT_TRUE(notifyFromElsewhere(path));
        EXPECT_EQ(reopened, 2);
        // IBus starting Tarvelo for its engines opens no window.
        EXPECT_TRUE(notifyFromElsewhere(path, SingleInstance::Request::serveEngines));
        EXPECT_EQ(reopened, 2);
        EXPECT_EQ(servedEngines, 1);
    }

    // The first instance has ended: the next launch becomes the running one, even over a stale socket.
    SingleInstance next(path);
    EXPECT_FALSE(notifyFromElsewhere(path));
    EXPECT_TRUE(next.listen([&] { reopened += 10; }));
    EXPECT_TRUE(notifyFromElsewhere(path));
    EXPECT_EQ(reopened, 12);
}

}  // namespace
}  // namespace tarvelo::ui
