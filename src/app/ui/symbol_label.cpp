// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/symbol_label.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

#include "app/ui/settings_page_style.h"
#include "app/ui/symbols.h"

namespace tarvelo::ui {

SymbolLabel::SymbolLabel(std::string_view systemImage, const QString& text, const QFont& font, const QColor& color,
                         QWidget* parent)
    : QWidget(parent), systemImage_(systemImage), symbol_(new QLabel(this)),
      text_(page_style::makeLabel(text, font, this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    const int side = QFontMetrics(font).height();
    symbol_->setFixedSize(side, side);
    symbol_->setAccessibleName({});
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row->addWidget(symbol_, 0, Qt::AlignTop);
    row->addWidget(text_, 1);
    setColor(color.isValid() ? color : palette().color(QPalette::WindowText));
}

void SymbolLabel::setSymbol(std::string_view systemImage) {
    systemImage_ = systemImage;
    renderSymbol();
}

void SymbolLabel::setText(const QString& text) { text_->setText(text); }

void SymbolLabel::setColor(const QColor& color) {
    color_ = color;
    page_style::setTextColor(*text_, color);
    renderSymbol();
}

void SymbolLabel::setWordWrap(bool wrap) { text_->setWordWrap(wrap); }

QString SymbolLabel::text() const { return text_->text(); }

void SymbolLabel::renderSymbol() {
    const int side = symbol_->width();
    symbol_->setPixmap(symbolIcon(systemImage_, color_).pixmap(side, side));
}

}  // namespace tarvelo::ui
