// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/key_cap.h"

#include <QPainter>

#include "app/ui/fonts.h"
#include "app/ui/settings_page_style.h"

namespace tarvelo::ui {

KeyCap::KeyCap(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFont(fonts::monospaced(13, QFont::Medium));
    setTextFormat(Qt::PlainText);
    setContentsMargins(9, 4, 9, 4);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void KeyCap::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(page_style::quaternaryFill(palette()));
        painter.drawRoundedRect(QRectF(rect()), 6, 6);
    }
    QLabel::paintEvent(event);
}

}  // namespace tarvelo::ui
