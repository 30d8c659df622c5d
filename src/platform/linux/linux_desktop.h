// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pipeline/pipeline_platform.h"
#include "platform/linux/atspi/atspi_accessibility_api.h"
#include "platform/linux/atspi/atspi_focused_process.h"
#include "platform/linux/atspi/atspi_availability.h"
#include "platform/linux/dbus_notification_center.h"
#include "platform/linux/desktop_trust.h"
#include "platform/linux/language/enchant_spell_checker.h"
#include "platform/linux/freedesktop_system_sound.h"
#include "platform/linux/glib_scheduler.h"
#include "platform/linux/fcitx5/fcitx5_backend.h"
#include "platform/linux/ibus/ibus_backend.h"
#include "platform/linux/x11/injected_keys.h"
#include "platform/linux/x11/keyboard_hold.h"
#include "platform/linux/language/letter_model_language_recognizer.h"
#include "platform/linux/x11/x11_display.h"
#include "platform/linux/focused_process_workspace.h"
#include "platform/linux/x11/x11_workspace.h"
#include "platform/linux/x11/x_input_event_tap.h"
#include "platform/linux/x11/x_keyboard_freeze.h"
#include "platform/linux/x11/xkb_input_context.h"
#include "platform/linux/x11/xkb_keymap.h"
#include "platform/linux/x11/xtest_keyboard_events.h"
#include "services/accessibility_service.h"
#include "support/system_clock.h"

namespace tarvelo::desktop {

// Where keys and text come from: the X server (the tap of XInput 2, XTest, AT-SPI for text), or the
// input method, IBus (Tarvelo's engines) or fcitx5 (Tarvelo's module, calling this process).
enum class KeyboardBackend { x11, ibus, fcitx5 };

// Every platform service of the Linux desktop, made once and wired together: the one place that picks
// the backend. Without an X display it still builds, and then answers as a desktop that offers no
// keyboard (listening is never permitted, no tap can be installed).
class LinuxDesktop {
public:
    explicit LinuxDesktop(KeyboardBackend backend = KeyboardBackend::x11);

    // The backend for this session: the one asked for (IBus starts Tarvelo with --ibus; --fcitx5); IBus
    // where one of Tarvelo's engines is IBus's current one; fcitx5 where it is the session's input
    // method (its name on the session bus, or the session's input-method variables name it: KDE Plasma
    // starts it for Wayland); IBus on any other Wayland session, where nothing else sees keys; else
    // X11. Whichever input method is chosen, the X11 tap stays off, so that nothing is corrected twice.
    static KeyboardBackend backendForSession(bool ibusAsked, bool fcitx5Asked = false);
    // Whether the session's input-method variables (XMODIFIERS, GTK_IM_MODULE, QT_IM_MODULE) name fcitx.
    static bool sessionNamesFcitx();
    KeyboardBackend backend() const;
    // The IBus engines, when they are the backend.
    IbusBackend* ibus() { return ibus_.get(); }
    // The object fcitx5's module calls, when it is the backend.
    Fcitx5Backend* fcitx5() { return fcitx5_.get(); }
    LinuxDesktop(const LinuxDesktop&) = delete;
    LinuxDesktop& operator=(const LinuxDesktop&) = delete;

    // What the typing pipeline is built on.
    PipelinePlatform pipelinePlatform();

    bool hasDisplay() const { return display_ != nullptr; }
    // Set when the session is Wayland: the X11 backend then sees only the programs that run under
    // XWayland, and says so instead of appearing to work.
    static bool isWaylandSession();
    // Chords another program holds (a window manager's Alt+Space), named as a person presses them: on
    // X11 those grabbed away from the tap; for Tarvelo's engines those GNOME Shell binds, which it acts
    // on before the input method sees them.
    std::vector<std::string> unavailableChords() const;

    X11Display* display() { return display_.get(); }
    XInputEventTap& eventTap() { return eventTap_; }
    XTestKeyboardEvents& keyboardEvents() { return keyboardEvents_; }
    XKeyboardFreeze& keyboardFreeze() { return keyboardFreeze_; }
    // The applications as the backend in use names them.
    Workspace& workspace();
    // Whether the application that has the keyboard can be known at all (per-application exclusion
    // applies only then): from the X server, or, for an input method, from the accessibility bus.
    bool knowsFocusedApplication() const;
    // Whether the input method the backend works through runs (always, for the X11 backend).
    bool inputMethodRunning() const;
    // The layout and permissions of the backend in use.
    InputContext& inputContext();
    Trust& trust();
    // The focused text as the backend in use reads it.
    AccessibilityService& accessibility();
    AtspiAvailability& accessibilityAvailability() { return availability_; }
    DBusNotificationCenter& notificationCenter() { return notificationCenter_; }
    FreedesktopSystemSound& sound() { return sound_; }
    GlibScheduler& scheduler() { return scheduler_; }
    const SystemClock& clock() const { return clock_; }

private:
    std::unique_ptr<X11Display> display_;
    std::unique_ptr<XkbKeymap> keymap_;
    InjectedKeys injectedKeys_;
    KeyboardHold keyboardHold_;
    XInputEventTap eventTap_;
    XTestKeyboardEvents keyboardEvents_;
    XKeyboardFreeze keyboardFreeze_;
    X11Workspace workspace_;
    XkbInputContext inputContext_;
    AtspiAvailability availability_;
    DesktopTrust trust_;
    AtspiAccessibilityApi accessibilityApi_;
    AccessibilityService accessibility_{accessibilityApi_};
    std::unique_ptr<IbusBackend> ibus_;
    std::unique_ptr<Fcitx5Backend> fcitx5_;
    // Whichever of the two is the backend, or nullptr on X11.
    InputMethodBackend* inputMethod_ = nullptr;
    std::unique_ptr<AccessibilityService> inputMethodAccessibility_;
    std::unique_ptr<AtspiFocusedProcess> focusedProcess_;
    std::unique_ptr<FocusedProcessWorkspace> focusedWorkspace_;
    EnchantSpellChecker spellChecker_;
    LetterModelLanguageRecognizer recognizer_;
    DBusNotificationCenter notificationCenter_;
    FreedesktopSystemSound sound_;
    GlibScheduler scheduler_;
    SystemClock clock_;
};

}  // namespace tarvelo::desktop
