// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/correction_example_view.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "app/ui/fonts.h"
#include "app/ui/palette.h"
#include "app/ui/qt_text.h"
#include "app/ui/symbols.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {
namespace {

const QString& original() {
    static const QString text = QStringLiteral("ghbdtn");
    return text;
}

const QString& replacement() {
    static const QString text = QString::fromUtf8("\u043f\u0440\u0438\u0432\u0435\u0442");
    return text;
}

// The example is set in the monospaced face at the title-3 size.
QFont wrongFont() {
    QFont font = fonts::monospaced(fonts::title3().pixelSize());
    font.setStrikeOut(true);
    return font;
}

QFont rightFont() { return fonts::monospaced(fonts::title3().pixelSize(), QFont::DemiBold); }

constexpr int kGap = 10;
constexpr int kArrowSize = 16;

}  // namespace

CorrectionExampleView::CorrectionExampleView(QWidget* parent) : QWidget(parent) {
    setAccessibleName(translated("Example correction: {original} becomes {replacement}",
                                 {{"original", original().toStdString()}, {"replacement", replacement().toStdString()}}));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CorrectionExampleView::sizeHint() const {
    const QFontMetrics wrong(wrongFont());
    const QFontMetrics right(rightFont());
    const int width = wrong.horizontalAdvance(original()) + kGap + kArrowSize + kGap + right.horizontalAdvance(replacement());
    const int height = std::max({wrong.height(), right.height(), kArrowSize});
    return {width, height};
}

void CorrectionExampleView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette colours = palette();
    const QSize size = sizeHint();
    // Centred vertically in whatever height the layout gives.
    const int top = (height() - size.height()) / 2;
    const QRect line(0, top, width(), size.height());

    int x = 0;
    painter.setFont(wrongFont());
    painter.setPen(palette::wrong());
    painter.drawText(line.adjusted(x, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, original());
    x += QFontMetrics(wrongFont()).horizontalAdvance(original()) + kGap;

    const QIcon arrow = symbolIcon("arrow.right", window_colors::secondary(colours));
    arrow.paint(&painter, QRect(x, line.center().y() - kArrowSize / 2 + 1, kArrowSize, kArrowSize));
    x += kArrowSize + kGap;

    painter.setFont(rightFont());
    painter.setPen(window_colors::accentTint(colours));
    painter.drawText(line.adjusted(x, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, replacement());
}

}  // namespace tarvelo::ui
