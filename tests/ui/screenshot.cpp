// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenshot.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace tarvelo::ui::testing {

QString saveScreenshot(QWidget& widget, const QString& name) {
    QString folder = qEnvironmentVariable("TARVELO_SCREENSHOTS");
    if (folder.isEmpty()) folder = QDir::current().filePath("screenshots");
    if (!QDir().mkpath(folder)) return {};
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + ".png");
    return widget.grab().save(path) ? path : QString();
}

}  // namespace tarvelo::ui::testing
