// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/input_context.h"
#include "support/observable.h"
#include "support/scheduler.h"
#include "support/subscription.h"

namespace tarvelo {

// A short name for the selected keyboard layout ("Russian", "English", "Unknown" or the identifier's
// last dotted part), refreshed every two seconds. It only reads; the one selection of a layout is the
// engine's, after a correction, and only when the user has asked for it.
class InputSourceService {
public:
    static constexpr double kRefreshInterval = 2.0;

    InputSourceService(InputContext& context, Scheduler& scheduler);
    InputSourceService(const InputSourceService&) = delete;
    InputSourceService& operator=(const InputSourceService&) = delete;

    const Observable<std::string>& displayName() const { return displayName_; }

    void refresh();

    // The name shown for an input source identifier.
    static std::string displayNameFor(const std::optional<std::string>& identifier);

private:
    InputContext& context_;
    Observable<std::string> displayName_{"Unknown"};
    Subscription timer_;
};

}  // namespace tarvelo
