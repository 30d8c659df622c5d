// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/website_link_button.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "app/ui/fonts.h"
#include "app/ui/qt_text.h"
#include "app/ui/symbols.h"

namespace tarvelo::ui {
namespace {

constexpr int kPadding = 16;
constexpr int kVerticalPadding = 12;
constexpr int kGlobeSize = 24;
constexpr int kArrowSize = 15;
constexpr int kGap = 12;
constexpr int kLineGap = 2;
constexpr double kRadius = 10;

QFont titleFont() { return fonts::sized(14, QFont::DemiBold); }
QFont domainFont() { return fonts::sized(12, QFont::Medium); }

QString title() { return translated("Visit Developer Website"); }

QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, static_cast<float>(opacity)); }

}  // namespace

WebsiteLinkButton::WebsiteLinkButton(const QString& domain, const QColor& accent, const QColor& muted, QWidget* parent)
    : QAbstractButton(parent), domain_(domain), accent_(accent), muted_(muted) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize WebsiteLinkButton::sizeHint() const {
    const QFontMetrics titleMetrics(titleFont());
    const QFontMetrics domainMetrics(domainFont());
    const int textWidth = std::max(titleMetrics.horizontalAdvance(title()), domainMetrics.horizontalAdvance(domain_));
    const int textHeight = titleMetrics.height() + kLineGap + domainMetrics.height();
    return {kPadding + kGlobeSize + kGap + textWidth + kGap + kArrowSize + kPadding,
            kVerticalPadding + std::max(textHeight, kGlobeSize) + kVerticalPadding};
}

void WebsiteLinkButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF tile = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double fill = isDown() ? 0.07 : (underMouse() ? 0.15 : 0.11);
    painter.setPen(QPen(white(0.35), 1));
    painter.setBrush(white(fill));
    painter.drawRoundedRect(tile, kRadius, kRadius);
    // White on the dark tile, so that keyboard focus shows as plainly as on the desktop's own buttons.
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(tile.adjusted(1.5, 1.5, -1.5, -1.5), kRadius - 1.5, kRadius - 1.5);
    }

    const int middle = height() / 2;
    symbolIcon("globe", accent_).paint(&painter, QRect(kPadding, middle - kGlobeSize / 2, kGlobeSize, kGlobeSize));
    symbolIcon("arrow.up.right", muted_)
        .paint(&painter, QRect(width() - kPadding - kArrowSize, middle - kArrowSize / 2, kArrowSize, kArrowSize));

    const QFontMetrics titleMetrics(titleFont());
    const QFontMetrics domainMetrics(domainFont());
    const int textLeft = kPadding + kGlobeSize + kGap;
    const int textWidth = width() - textLeft - kGap - kArrowSize - kPadding;
    const int textTop = middle - (titleMetrics.height() + kLineGap + domainMetrics.height()) / 2;
    painter.setPen(Qt::white);
    painter.setFont(titleFont());
    painter.drawText(QRect(textLeft, textTop, textWidth, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(title(), Qt::ElideRight, textWidth));
    painter.setPen(muted_);
    painter.setFont(domainFont());
    painter.drawText(QRect(textLeft, textTop + titleMetrics.height() + kLineGap, textWidth, domainMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, domainMetrics.elidedText(domain_, Qt::ElideRight, textWidth));
}

}  // namespace tarvelo::ui
