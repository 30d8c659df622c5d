// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tarvelo::ui {

// Esc and the desktop's Close key (Ctrl+W) close `window`, as they close the dialogs of the desktop.
void addCloseShortcuts(QWidget& window);

}  // namespace tarvelo::ui
