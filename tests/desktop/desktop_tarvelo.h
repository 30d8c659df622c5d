// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "app/app_state.h"
#include "platform/fake/fake_app_shell.h"
#include "platform/fake/fake_login_items.h"
#include "platform/fake/fixed_calendar.h"
#include "platform/fake/memory_defaults_store.h"
#include "platform/linux/linux_desktop.h"

namespace tarvelo::desktop::testing {

// Tarvelo as the application composes it on the real Linux backend, with its settings in memory and
// no windows: what the desktop tests and benchmarks type into real fields with.
struct DesktopTarvelo {
    explicit DesktopTarvelo(KeyboardBackend backend = KeyboardBackend::x11);
    DesktopTarvelo(const DesktopTarvelo&) = delete;
    DesktopTarvelo& operator=(const DesktopTarvelo&) = delete;

    LinuxDesktop desktop;
    MemoryDefaultsStore defaults;
    FakeLoginItems loginItems;
    FixedCalendar calendar{0.0, Weekday::monday, "UTC"};
    FakeAppShell shell;
    SettingsManager settings{defaults, desktop.clock(), loginItems, desktop.notificationCenter()};
    PermissionManager permissions{desktop.trust(), desktop.workspace(), desktop.scheduler(),
                                  PrivacyPaneAddresses::none()};
    ExceptionManager exceptions{defaults};
    ApplicationFilter applicationFilter{defaults, linuxApplicationProfile()};
    StatisticsManager statistics{defaults, desktop.clock(), calendar};
    InputSourceService inputSource{desktop.inputContext(), desktop.scheduler()};
    AppState app;
};

}  // namespace tarvelo::desktop::testing
