// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/close_shortcuts.h"

#include <QKeySequence>
#include <QList>
#include <QShortcut>
#include <QWidget>

namespace tarvelo::ui {

void addCloseShortcuts(QWidget& window) {
    // One shortcut for all keys: two shortcuts on the same key would make it ambiguous, and do nothing.
    QList<QKeySequence> keys = {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)};
    for (const QKeySequence& close : QKeySequence::keyBindings(QKeySequence::Close)) {
        if (!keys.contains(close)) keys.push_back(close);
    }
    auto* shortcut = new QShortcut(&window);
    shortcut->setKeys(keys);
    QObject::connect(shortcut, &QShortcut::activated, &window, &QWidget::close);
}

}  // namespace tarvelo::ui
