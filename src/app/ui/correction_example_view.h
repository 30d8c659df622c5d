// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tarvelo::ui {

// A fixed example of a correction: "ghbdtn" struck through, an arrow, "привет" in the accent colour;
// read by accessibility as one element.
class CorrectionExampleView : public QWidget {
public:
    explicit CorrectionExampleView(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarvelo::ui
