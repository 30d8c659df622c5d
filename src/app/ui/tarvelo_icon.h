// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace tarvelo::ui {

// The application's logo, drawn from shapes so that it is sharp at any size. As a widget it fills the
// space it is given, keeping its proportions (it is drawn from the width alone).
class TarveloIcon : public QWidget {
public:
    explicit TarveloIcon(QWidget* parent = nullptr);

    // Draws the logo for a space of `bounds`: a square of 0.88 times its width, centred in it.
    static void paint(QPainter& painter, const QRectF& bounds);
    // The logo at the usual icon sizes, for the windows and the status icon.
    static QIcon icon();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarvelo::ui
