// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "app/ui/desktop_context.h"

namespace tarvelo::ui {

// The Hotkeys page: the fixed global shortcuts and Undo with their key caps, and under each chord that
// another program holds, a warning that says so.
class HotkeysSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit HotkeysSettingsView(DesktopContext& context, QWidget* parent = nullptr);
};

}  // namespace tarvelo::ui
