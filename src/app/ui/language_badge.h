// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

namespace tarvelo::ui {

// A language of the layout pair: its code in the accent colour above its name, on a faint rounded plate.
class LanguageBadge : public QWidget {
    Q_OBJECT

public:
    LanguageBadge(const QString& code, const QString& name, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarvelo::ui
