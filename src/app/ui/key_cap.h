// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace tarvelo::ui {

// A key chord as printed on a key: medium-weight monospaced text on a faint rounded plate.
class KeyCap : public QLabel {
    Q_OBJECT

public:
    explicit KeyCap(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarvelo::ui
