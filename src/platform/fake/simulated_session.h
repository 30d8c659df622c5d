// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "platform/fake/fake_app_shell.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_input_context.h"
#include "platform/fake/fake_keyboard.h"
#include "platform/fake/fake_login_items.h"
#include "platform/fake/fake_notification_center.h"
#include "platform/fake/fake_system_sound.h"
#include "platform/fake/fake_text_element.h"
#include "platform/fake/fake_trust.h"
#include "platform/fake/fixed_calendar.h"
#include "platform/fake/manual_clock.h"
#include "platform/fake/manual_scheduler.h"
#include "platform/fake/memory_defaults_store.h"
#include "platform/fake/null_language_recognizer.h"
#include "platform/fake/null_spell_checker.h"
#include "services/accessibility_service.h"
#include "services/input_source_service.h"
#include "services/permission_manager.h"
#include "store/application_filter.h"
#include "store/exception_manager.h"
#include "store/settings_manager.h"
#include "store/statistics_manager.h"

namespace tarvelo {

// The whole application running on the pretend desktop: the real AppState, engine and keyboard monitor
// over the fakes, on a manual clock. Both permissions are granted and the Linux application profile is
// in use unless a test changes them. Without signals the detector rests on its built-in lists alone.
struct SimulatedSession {
    // Either may be null: that signal then finds nothing. (No member initialisers, so that `{}` can be
    // the default argument inside this class.)
    struct Signals {
        SpellChecker* spellChecker;
        LanguageRecognizer* recognizer;
    };

    explicit SimulatedSession(Signals signals = {});
    SimulatedSession(const SimulatedSession&) = delete;
    SimulatedSession& operator=(const SimulatedSession&) = delete;

    // A new text field in `application`, focused, holding `text` with the caret at its end.
    std::shared_ptr<FakeTextElement> openField(std::optional<std::string> application = std::string(kEditor),
                                               std::string_view text = {});
    // Moves to `field` of `application` (another application's field, or back).
    void focus(std::optional<std::string> application, std::shared_ptr<FakeTextElement> field) {
        desktop.focus(std::move(application), std::move(field));
    }
    // Lets `seconds` pass, running every delayed task that falls due.
    void wait(double seconds) { scheduler.advance(seconds); }

    AutoSwitchEngine& engine() { return app.engine; }
    KeyboardMonitor& monitor() { return app.keyboardMonitor; }
    const std::string& status() const { return app.engine.statusMessage().get(); }

    static constexpr const char* kEditor = "org.example.Editor";

    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeDesktop desktop;
    FakeKeyboard keyboard{desktop};
    FakeTrust trust;
    FakeSystemSound sound;
    FakeNotificationCenter notificationCenter;
    FakeLoginItems loginItems;
    FakeInputContext inputContext;
    FakeAppShell shell;
    MemoryDefaultsStore defaults;
    FixedCalendar calendar{0.0, Weekday::monday, "UTC"};
    NullSpellChecker nullSpellChecker;
    NullLanguageRecognizer nullRecognizer;
    AccessibilityService accessibility{desktop};
    SettingsManager settings{defaults, clock, loginItems, notificationCenter};
    PermissionManager permissions{trust, desktop, scheduler};
    ExceptionManager exceptions{defaults};
    ApplicationFilter applicationFilter{defaults, linuxApplicationProfile()};
    StatisticsManager statistics{defaults, clock, calendar};
    InputSourceService inputSource{inputContext, scheduler};
    AppState app;
};

}  // namespace tarvelo
