// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/qt_app_shell.h"

#include <QGuiApplication>

namespace tarvelo::ui {

QtAppShell::QtAppShell() { QGuiApplication::setQuitOnLastWindowClosed(false); }

}  // namespace tarvelo::ui
