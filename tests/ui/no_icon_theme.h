// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

namespace tarvelo::ui::testing {

// While it lives, the desktop offers no icon theme, as on a bare machine: every symbol is our drawing.
class NoIconTheme {
public:
    NoIconTheme() : previous_(QIcon::themeName()) { QIcon::setThemeName(QStringLiteral("tarvelo-no-such-theme")); }
    ~NoIconTheme() { QIcon::setThemeName(previous_); }
    NoIconTheme(const NoIconTheme&) = delete;
    NoIconTheme& operator=(const NoIconTheme&) = delete;

private:
    QString previous_;
};

}  // namespace tarvelo::ui::testing
