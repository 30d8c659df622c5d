// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo on the Linux desktop: the real backend, the stores in the user's configuration folder, the
// application state, and the Qt windows and status icon.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include <glib-unix.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/app_lifecycle.h"
#include "app/app_state.h"
#include "app/menu_bar_content.h"
#include "app/settings_navigation.h"
#include "app/ui/desktop_context.h"
#include "app/ui/interface_language.h"
#include "app/ui/qt_app_shell.h"
#include "app/ui/qt_text.h"
#include "app/ui/qt_window_presenter.h"
#include "app/ui/single_instance.h"
#include "app/ui/tarvelo_icon.h"
#include "app/ui/tray_item.h"
#include "build_info.h"
#include "platform/linux/icu_calendar.h"
#include "platform/linux/json_file_defaults_store.h"
#include "platform/linux/ibus/gnome_input_source_setup.h"
#include "platform/linux/linux_desktop.h"
#include "platform/linux/resident_file_pages.h"
#include "platform/linux/xdg_autostart_login_items.h"
#include "store/application_profile.h"

namespace {

using namespace tarvelo;

constexpr char kHelp[] = R"(Usage: tarvelo [OPTION...]

Fixes words typed in the wrong keyboard layout, English (US QWERTY) against
Russian (ЙЦУКЕН), in whatever application has the focus. Tarvelo lives in the
system tray of your desktop session; starting it again while it runs opens its
settings.

Options:
  -h, --help   show this help and exit
  --version    show the version and exit
  --ibus       serve the IBus input sources English (Tarvelo) and Russian
               (Tarvelo); IBus starts Tarvelo so, and on Wayland it is the default
  --fcitx5     take the keys from fcitx5 through Tarvelo's fcitx5 module (KDE
               Plasma); the default wherever fcitx5 is the input method

Qt's own options, for example -platform NAME, are accepted too. Settings are
kept in $XDG_CONFIG_HOME/tarvelo/defaults.json (~/.config/tarvelo by default).
See also tarvelo-cli(1), which converts and fixes text from the shell.
)";

// --help and --version are answered before anything else is set up: they need no display and touch no
// file. Any other argument is left to Qt. None when the application should start.
std::optional<int> answerInformationOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(kHelp, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argument == "--version") {
            std::printf("tarvelo %.*s\n", static_cast<int>(build::version.size()), build::version.data());
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    return std::nullopt;
}

// How long after the event loop starts the start-up's code is given back: the status icon has been
// embedded and the first settings have been read by then.
constexpr std::chrono::seconds kStartUpSettles{2};

bool asked(int argc, char** argv, std::string_view option) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == option) return true;
    }
    return false;
}

bool hasDesktopSession() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// SIGTERM and SIGINT end the event loop like "Quit Tarvelo", so the keyboard grabs are given back.
gboolean quitOnSignal(gpointer) {
    QApplication::quit();
    return G_SOURCE_CONTINUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = answerInformationOption(argc, argv)) return *status;
    if (!hasDesktopSession()) {
        std::fputs("tarvelo: no desktop session found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Tarvelo lives in the system tray of a graphical session: start it from your desktop's\n"
                   "application menu, or from a terminal inside that session.\n",
                   stderr);
        return 1;
    }

    // Start-up runs a good deal of code only once (Qt's plugins and platform integration, reading the
    // settings, building the letter model). It is given back once the event loop has settled, and
    // what the event loop and the typing path use comes back from the page cache on first touch.
    const desktop::ResidentFilePages atStart = desktop::ResidentFilePages::now();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tarvelo");
    QApplication::setApplicationVersion(ui::text(build::version));
    QApplication::setDesktopFileName(ui::text(build::applicationId));
    QApplication::setWindowIcon(ui::TarveloIcon::icon());
    const ui::InterfaceLanguage language(
        ui::InterfaceLanguage::catalogDirectoryBeside(QCoreApplication::applicationDirPath()));

    // IBus starts Tarvelo so for its engines; a Tarvelo already running serves them, with no window.
    const bool startedByIbus = asked(argc, argv, "--ibus");
    ui::SingleInstance instance;
    if (instance.notifyRunningInstance(1000, startedByIbus ? ui::SingleInstance::Request::serveEngines
                                                           : ui::SingleInstance::Request::reopen)) {
        return 0;
    }

    desktop::LinuxDesktop desktop(desktop::LinuxDesktop::backendForSession(startedByIbus, asked(argc, argv, "--fcitx5")));
    // IBus started this process for its engines and starts it again when it needs them.
    if (startedByIbus && desktop.ibus() != nullptr) desktop.ibus()->onDisconnected([] { QApplication::quit(); });
    desktop::JsonFileDefaultsStore defaults(desktop::JsonFileDefaultsStore::userFilePath());
    desktop::IcuCalendar calendar;
    desktop::XdgAutostartLoginItems loginItems;
    // An entry from an older run may start a build folder's copy or another installation. Best effort:
    // a failure shows when the user next turns "Launch at login" on.
    loginItems.rewriteStaleEntry();
    ui::QtAppShell shell;

    SettingsManager settings(defaults, desktop.clock(), loginItems, desktop.notificationCenter());
    PermissionManager permissions(desktop.trust(), desktop.workspace(), desktop.scheduler(),
                                  PrivacyPaneAddresses::none());
    ExceptionManager exceptions(defaults);
    ApplicationFilter applicationFilter(defaults, linuxApplicationProfile());
    StatisticsManager statistics(defaults, desktop.clock(), calendar);
    InputSourceService inputSource(desktop.inputContext(), desktop.scheduler());
    AppState state(settings, permissions, exceptions, applicationFilter, statistics, inputSource,
                   desktop.pipelinePlatform(), shell);

    SettingsNavigation navigation;
    ui::DesktopContext context{state,
                               navigation,
                               defaults,
                               desktop.backend() == desktop::KeyboardBackend::x11 ? KeyLabels::pc()
                                                                                  : KeyLabels::pcInputMethod(),
                               desktop::LinuxDesktop::isWaylandSession() &&
                                   desktop.backend() == desktop::KeyboardBackend::x11,
                               [&desktop] { return desktop.unavailableChords(); },
                               [] { QApplication::quit(); }};
    // The code and fonts that only the windows use stay resident after they close, for as long as
    // Tarvelo sits in the tray; they are clean copies of the page cache, given back when the last
    // window is gone and read back from the cache when a window needs them again.
    context.inputMethod = desktop.backend() != desktop::KeyboardBackend::x11;
    context.keyboardSource = desktop.backend() == desktop::KeyboardBackend::ibus     ? settings_pages::KeyboardSource::ibus
                             : desktop.backend() == desktop::KeyboardBackend::fcitx5 ? settings_pages::KeyboardSource::fcitx5
                                                                                     : settings_pages::KeyboardSource::x11;
    context.knowsFocusedApplication = [&desktop] { return desktop.knowsFocusedApplication(); };
    context.inputMethodRunning = [&desktop] { return desktop.inputMethodRunning(); };
    // Where Tarvelo is GNOME's input method it can set up the input sources that reach it.
    const std::unique_ptr<desktop::GnomeInputSourceSetup> inputSources =
        desktop.backend() == desktop::KeyboardBackend::ibus ? desktop::GnomeInputSourceSetup::open() : nullptr;
    if (inputSources != nullptr) {
        context.gnomeInputSources = ui::InputSourceOffer{[&inputSources] { return inputSources->usesTarvelo(); },
                                                         [&inputSources] { return inputSources->useTarvelo(); },
                                                         [&inputSources] { return inputSources->restoreKeyboards(); }};
    }
    const char* currentDesktop = std::getenv("XDG_CURRENT_DESKTOP");
    context.plasmaWithoutFcitx5 = currentDesktop != nullptr && std::string_view(currentDesktop).find("KDE") != std::string_view::npos &&
                                  desktop.backend() != desktop::KeyboardBackend::fcitx5;
    std::optional<desktop::ResidentFilePages> beforeWindows;
    context.windowsOpening = [&beforeWindows] { beforeWindows = desktop::ResidentFilePages::now(); };
    context.windowsReleased = [&beforeWindows] {
        if (beforeWindows) desktop::ResidentFilePages::releaseAddedSince(*beforeWindows);
        beforeWindows.reset();
    };
    ui::QtWindowPresenter windows(context);
    AppLifecycle lifecycle(state, defaults, windows, desktop.scheduler(), desktop.notificationCenter());
    lifecycle.setDesktop(
        {currentDesktop != nullptr ? currentDesktop : "", [&desktop] { return desktop.unavailableChords(); }});
    MenuBarContent menu(state, windows, context.keyLabels, [] { QApplication::quit(); });
    ui::TrayItem tray(context, menu);

    instance.listen([&lifecycle] { lifecycle.reopen(); },
                    [&desktop] {
                        if (desktop.ibus() != nullptr) desktop.ibus()->registerEngines();
                    });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&lifecycle] { lifecycle.quit(); });
    g_unix_signal_add(SIGTERM, quitOnSignal, nullptr);
    g_unix_signal_add(SIGINT, quitOnSignal, nullptr);

    lifecycle.launch(QSystemTrayIcon::isSystemTrayAvailable());
    QTimer::singleShot(kStartUpSettles, &application, [&atStart, &windows] {
        if (!windows.hasVisibleWindows()) desktop::ResidentFilePages::releaseAddedSince(atStart);
    });
    return QApplication::exec();
}
