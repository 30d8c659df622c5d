// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/tarvelo_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSizePolicy>

namespace tarvelo::ui {
namespace {

QColor rgb(double red, double green, double blue, double alpha = 1.0) {
    return QColor::fromRgbF(static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue),
                            static_cast<float>(alpha));
}

// A rounded square whose corners ease into the straight sides instead of meeting them as quarter circles.
// Each corner is one cubic that starts 1.25 radii from the corner and passes where a circular corner of
// `radius` would, so the square looks as round as its radius says.
QPainterPath continuousRoundedSquare(const QRectF& square, double radius) {
    const double reach = 1.25 * radius;
    const double handle = 0.364 * radius;
    const double left = square.left();
    const double top = square.top();
    const double right = square.right();
    const double bottom = square.bottom();
    QPainterPath path;
    path.moveTo(left + reach, top);
    path.lineTo(right - reach, top);
    path.cubicTo(right - handle, top, right, top + handle, right, top + reach);
    path.lineTo(right, bottom - reach);
    path.cubicTo(right, bottom - handle, right - handle, bottom, right - reach, bottom);
    path.lineTo(left + reach, bottom);
    path.cubicTo(left + handle, bottom, left, bottom - handle, left, bottom - reach);
    path.lineTo(left, top + reach);
    path.cubicTo(left, top + handle, left + handle, top, left + reach, top);
    path.closeSubpath();
    return path;
}

}  // namespace

TarveloIcon::TarveloIcon(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TarveloIcon::paint(QPainter& painter, const QRectF& bounds) {
    const double side = 0.88 * bounds.width();
    if (side <= 0) return;
    const QRectF square(bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side);
    // Positions below are fractions of the square's side, from its top-left corner.
    const auto at = [&square, side](double x, double y) { return square.topLeft() + QPointF(x * side, y * side); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(square.topLeft(), square.bottomRight());
    background.setColorAt(0, rgb(0.15, 0.15, 0.19));
    background.setColorAt(1, rgb(0.035, 0.035, 0.05));
    const double radius = 0.215 * side;
    painter.fillPath(continuousRoundedSquare(square, radius), background);

    // The border lies inside the square's edge.
    const double borderWidth = 0.004 * side;
    QPen border(rgb(1, 1, 1, 0.16), borderWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    border.setMiterLimit(10);
    painter.strokePath(continuousRoundedSquare(square.adjusted(borderWidth / 2, borderWidth / 2, -borderWidth / 2,
                                                               -borderWidth / 2),
                                               radius - borderWidth / 2),
                       border);

    // The ring opens where the accent stroke leaves it: drawn from 4 % to 94 % of its length, clockwise
    // from its rightmost point, then turned by 45 degrees with its gradient.
    painter.save();
    painter.translate(square.center());
    painter.rotate(45);
    const double ringSide = 0.65 * side;
    const QRectF ringFrame(-ringSide / 2, -ringSide / 2, ringSide, ringSide);
    QPainterPath ring;
    ring.arcMoveTo(ringFrame, -0.04 * 360);
    ring.arcTo(ringFrame, -0.04 * 360, -0.90 * 360);
    QLinearGradient ringGradient(ringFrame.topLeft(), ringFrame.bottomRight());
    ringGradient.setColorAt(0, rgb(1, 1, 1));
    ringGradient.setColorAt(1, rgb(0.56, 0.56, 0.64));
    painter.strokePath(ring, QPen(QBrush(ringGradient), 0.052 * side, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    painter.restore();

    QPainterPath arrows;
    arrows.moveTo(at(0.35, 0.43));
    arrows.lineTo(at(0.65, 0.43));
    arrows.moveTo(at(0.59, 0.37));
    arrows.lineTo(at(0.65, 0.43));
    arrows.lineTo(at(0.59, 0.49));
    arrows.moveTo(at(0.65, 0.57));
    arrows.lineTo(at(0.35, 0.57));
    arrows.moveTo(at(0.41, 0.51));
    arrows.lineTo(at(0.35, 0.57));
    arrows.lineTo(at(0.41, 0.63));
    painter.strokePath(arrows, QPen(rgb(0.84, 0.84, 0.88), 0.045 * side, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));

    QPainterPath accent;
    accent.moveTo(at(0.63, 0.65));
    accent.lineTo(at(0.83, 0.84));
    painter.strokePath(accent, QPen(rgb(0.73, 0.61, 0.96), 0.035 * side, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    painter.restore();
}

QIcon TarveloIcon::icon() {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(painter, QRectF(0, 0, side, side));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

int TarveloIcon::heightForWidth(int width) const { return width; }

QSize TarveloIcon::sizeHint() const { return {128, 128}; }

void TarveloIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()));
}

}  // namespace tarvelo::ui
