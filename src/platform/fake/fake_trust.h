// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/trust.h"

namespace tarvelo {

// The two permissions as a test sets them; the prompts are counted, and grant nothing by themselves.
class FakeTrust final : public Trust {
public:
    FakeTrust(bool accessibility = true, bool listenEvents = true)
        : accessibility_(accessibility), listenEvents_(listenEvents) {}

    void setAccessibility(bool granted) { accessibility_ = granted; }
    void setListenEvents(bool granted) { listenEvents_ = granted; }
    int accessibilityPrompts() const { return accessibilityPrompts_; }
    int listenEventRequests() const { return listenEventRequests_; }

    bool isAccessibilityTrusted() override { return accessibility_; }
    void promptForAccessibility() override { ++accessibilityPrompts_; }
    bool preflightListenEventAccess() override { return listenEvents_; }
    void requestListenEventAccess() override { ++listenEventRequests_; }

private:
    bool accessibility_;
    bool listenEvents_;
    int accessibilityPrompts_ = 0;
    int listenEventRequests_ = 0;
};

}  // namespace tarvelo
