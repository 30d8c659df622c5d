// Tarvelo on the Linux desktop: the real backend, the stores in the user's configuration folder, the
// application state, and the Qt windows and status icon.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <glib-unix.h>

#include <QApplication>
#include <QSystemTrayIcon>

#include "app/app_lifecycle.h"
#include "app/app_state.h"
#include "app/menu_bar_content.h"
#include "app/settings_navigation.h"
#include "app/ui/desktop_context.h"
#include "app/ui/interface_language.h"
#include "app/ui/qt_app_shell.h"
#include "app/ui/qt_window_presenter.h"
#include "app/ui/single_instance.h"
#include "app/ui/tarvelo_icon.h"
#include "app/ui/tray_item.h"
#include "platform/linux/icu_calendar.h"
#include "platform/linux/json_file_defaults_store.h"
#include "platform/linux/linux_desktop.h"
#include "platform/linux/xdg_autostart_login_items.h"
#include "store/application_profile.h"

namespace {

using namespace tarvelo;

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
    if (!hasDesktopSession()) {
        std::fputs("tarvelo: no desktop session found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start Tarvelo from within your desktop, or try scripts/demo to see it on a virtual one.\n",
                   stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("Tarvelo");
    QApplication::setDesktopFileName("tarvelo");
    QApplication::setWindowIcon(ui::TarveloIcon::icon());
    const ui::InterfaceLanguage language(
        ui::InterfaceLanguage::catalogDirectoryBeside(QCoreApplication::applicationDirPath()));

    ui::SingleInstance instance;
    if (instance.notifyRunningInstance()) return 0;

    desktop::LinuxDesktop desktop;
    desktop::JsonFileDefaultsStore defaults(desktop::JsonFileDefaultsStore::userFilePath());
    desktop::IcuCalendar calendar;
    desktop::XdgAutostartLoginItems loginItems;
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
                               KeyLabels::pc(),
                               desktop::LinuxDesktop::isWaylandSession(),
                               [&desktop] { return desktop.unavailableChords(); },
                               [] { QApplication::quit(); }};
    ui::QtWindowPresenter windows(context);
    AppLifecycle lifecycle(state, defaults, windows, desktop.scheduler(), desktop.notificationCenter());
    MenuBarContent menu(state, windows, context.keyLabels, [] { QApplication::quit(); });
    ui::TrayItem tray(context, menu);

    instance.listen([&lifecycle] { lifecycle.reopen(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&lifecycle] { lifecycle.quit(); });
    g_unix_signal_add(SIGTERM, quitOnSignal, nullptr);
    g_unix_signal_add(SIGINT, quitOnSignal, nullptr);

    lifecycle.launch(QSystemTrayIcon::isSystemTrayAvailable());
    return QApplication::exec();
}
