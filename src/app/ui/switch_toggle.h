// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>

namespace tarvelo::ui {

// An on/off switch: its icon and text on the left, the sliding switch at the right end of the row.
// Checkable; `clicked(bool)` is the user's change, `setChecked` alone never emits it.
class SwitchToggle : public QAbstractButton {
    Q_OBJECT

public:
    explicit SwitchToggle(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF trackRect() const;
};

}  // namespace tarvelo::ui
