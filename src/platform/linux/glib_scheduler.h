// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "support/scheduler.h"

namespace tarvelo::desktop {

// The main queue on GLib's default main context, the loop that AT-SPI's events arrive on and that
// Qt's event loop runs on Linux. Tasks run on the thread that iterates that context.
class GlibScheduler final : public Scheduler {
public:
    GlibScheduler();
    // Tasks still waiting are dropped.
    ~GlibScheduler() override;
    GlibScheduler(const GlibScheduler&) = delete;
    GlibScheduler& operator=(const GlibScheduler&) = delete;

    void after(double seconds, Task task) override;
    [[nodiscard]] Subscription every(double interval, Task task) override;

private:
    struct Sources;
    std::shared_ptr<Sources> sources_;
};

}  // namespace tarvelo::desktop
