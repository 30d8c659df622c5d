// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/switch_toggle.h"

#include <algorithm>

#include <QPainter>

#include "app/ui/fonts.h"
#include "app/ui/settings_page_style.h"

namespace tarvelo::ui {
namespace {

constexpr int kTrackWidth = 34;
constexpr int kTrackHeight = 20;
constexpr int kIconSide = 16;
constexpr int kGap = 8;

}  // namespace

SwitchToggle::SwitchToggle(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    setCheckable(true);
    setFont(fonts::body());
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(text);
}

QSize SwitchToggle::sizeHint() const {
    const QFontMetrics metrics(font());
    const int iconWidth = icon().isNull() ? 0 : kIconSide + kGap;
    const int height = std::max(kTrackHeight, metrics.height()) + 6;
    return {iconWidth + metrics.horizontalAdvance(text()) + 2 * kGap + kTrackWidth + 2, height};
}

QRectF SwitchToggle::trackRect() const {
    return {static_cast<qreal>(width() - kTrackWidth - 1), (height() - kTrackHeight) / 2.0,
            static_cast<qreal>(kTrackWidth), static_cast<qreal>(kTrackHeight)};
}

void SwitchToggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    int x = 0;
    if (!icon().isNull()) {
        const QRect iconRect(x, (height() - kIconSide) / 2, kIconSide, kIconSide);
        icon().paint(&painter, iconRect);
        x += kIconSide + kGap;
    }
    const QRect textRect(x, 0, static_cast<int>(trackRect().left()) - x - kGap, height());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));

    const QRectF track = trackRect();
    const QColor on = page_style::accentTint(palette());
    QColor off = palette().color(QPalette::WindowText);
    off.setAlphaF(0.22f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? on : off);
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const qreal knob = track.height() - 4;
    const qreal knobX = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(knobX, track.top() + 2, knob, knob));

    // A ring only for focus that came from the keyboard, as the desktop's own controls do.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        QColor ring = on;
        ring.setAlphaF(0.5f);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), track.height() / 2 + 2, track.height() / 2 + 2);
    }
}

}  // namespace tarvelo::ui
