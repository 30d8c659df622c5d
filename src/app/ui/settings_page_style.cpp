// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/settings_page_style.h"

#include <algorithm>

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "app/ui/fonts.h"
#include "app/ui/palette.h"
#include "app/ui/symbols.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui::page_style {

QColor secondary(const QPalette& palette) { return window_colors::secondary(palette); }

QColor quaternaryFill(const QPalette& palette) {
    QColor fill = palette.color(QPalette::WindowText);
    fill.setAlphaF(0.06f);
    return fill;
}

QColor accentTint(const QPalette& palette) { return window_colors::accentTint(palette); }

QColor detailBackground(const QPalette& palette) {
    return window_colors::mix(palette.color(QPalette::Window), palette.color(QPalette::Base), 0.35);
}

void setTextColor(QWidget& widget, const QColor& color) {
    QPalette colours = widget.palette();
    colours.setColor(QPalette::WindowText, color);
    colours.setColor(QPalette::Text, color);
    colours.setColor(QPalette::ButtonText, color);
    widget.setPalette(colours);
}

QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* makeSecondaryLabel(const QString& text, const QFont& font, QWidget* parent) {
    QLabel* label = makeLabel(text, font, parent);
    setTextColor(*label, secondary(label->palette()));
    return label;
}

void padButton(QPushButton& button) {
    constexpr int kPadding = 14;
    constexpr int kShortest = 72;
    button.setFont(fonts::body());
    button.setMinimumWidth(std::max(kShortest, button.fontMetrics().horizontalAdvance(button.text()) + 2 * kPadding));
}

QFrame* makeDivider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::NoFrame);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    QColor colour = colours.color(QPalette::WindowText);
    colour.setAlphaF(0.14f);
    colours.setColor(QPalette::Window, colour);
    line->setPalette(colours);
    return line;
}

QLabel* makeSymbol(std::string_view systemImage, const QColor& tint, int pixels, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(symbolIcon(systemImage, tint).pixmap(pixels, pixels));
    label->setFixedSize(pixels, pixels);
    return label;
}

QVBoxLayout* makePageColumn(QWidget& page) {
    auto* column = new QVBoxLayout(&page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kBlockSpacing);
    return column;
}

void addBlock(QVBoxLayout& column, QWidget* block) {
    if (column.count() > 0) column.addWidget(makeDivider());
    column.addWidget(block);
}

}  // namespace tarvelo::ui::page_style
