// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/event_tap.h"
#include "platform/input_context.h"
#include "platform/keyboard_events.h"
#include "platform/keyboard_freeze.h"
#include "platform/language_recognizer.h"
#include "platform/key_labels.h"
#include "platform/notification_center.h"
#include "platform/spell_checker.h"
#include "platform/system_sound.h"
#include "platform/workspace.h"
#include "services/accessibility_service.h"
#include "support/clock.h"
#include "support/scheduler.h"

namespace tarvelo {

// What the typing pipeline is given from below: the desktop's services and the process-wide
// accessibility service. Every referent outlives the engine and the monitor.
struct PipelinePlatform {
    AccessibilityService& accessibility;
    KeyboardEvents& keyboardEvents;
    EventTap& eventTap;
    KeyboardFreeze& keyboardFreeze;
    Workspace& workspace;
    SpellChecker& spellChecker;
    LanguageRecognizer& recognizer;
    SystemSound& sound;
    NotificationCenter& notificationCenter;
    const Clock& clock;
    Scheduler& scheduler;
    // Where the layout is selected after a correction, when the user asks for that.
    InputContext& inputContext;
    // What the notification after a correction calls the undo chord.
    KeyLabels keyLabels = KeyLabels::mac();
};

}  // namespace tarvelo
