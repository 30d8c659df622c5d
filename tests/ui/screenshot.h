// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace tarvelo::ui::testing {

// Renders `widget` (laid out and shown) to "<name>.png" in the screenshot folder: $TARVELO_SCREENSHOTS,
// else "screenshots" under the working directory. Returns the file's path, empty when it could not
// be written.
QString saveScreenshot(QWidget& widget, const QString& name);

}  // namespace tarvelo::ui::testing
