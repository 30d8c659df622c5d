// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tarvelo::ui {

// The Languages page: the fixed layout pair and how characters map between the layouts.
class LanguagesSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit LanguagesSettingsView(QWidget* parent = nullptr);
};

}  // namespace tarvelo::ui
