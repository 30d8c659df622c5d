// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/language_badge.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "app/ui/fonts.h"
#include "app/ui/settings_page_style.h"

namespace tarvelo::ui {

LanguageBadge::LanguageBadge(const QString& code, const QString& name, QWidget* parent) : QWidget(parent) {
    auto* lines = new QVBoxLayout(this);
    lines->setContentsMargins(13, 10, 13, 10);
    lines->setSpacing(2);
    QLabel* codeLabel = page_style::makeLabel(code, fonts::headline(), this);
    page_style::setTextColor(*codeLabel, page_style::accentTint(palette()));
    lines->addWidget(codeLabel);
    lines->addWidget(page_style::makeLabel(name, fonts::body(), this));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(code + ", " + name);
}

void LanguageBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(page_style::quaternaryFill(palette()));
    painter.drawRoundedRect(QRectF(rect()), 9, 9);
}

}  // namespace tarvelo::ui
