// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/privacy_point.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/fonts.h"
#include "app/ui/settings_page_style.h"

namespace tarvelo::ui {

PrivacyPoint::PrivacyPoint(std::string_view icon, const QString& title, const QString& detail, QWidget* parent)
    : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    QLabel* symbol = page_style::makeSymbol(icon, page_style::accentTint(palette()), 18, this);
    symbol->setFixedWidth(22);
    symbol->setAlignment(Qt::AlignCenter);
    row->addWidget(symbol, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addWidget(page_style::makeLabel(title, fonts::sized(13, QFont::Medium), this));
    QLabel* detailLabel = page_style::makeSecondaryLabel(detail, fonts::callout(), this);
    detailLabel->setWordWrap(true);
    texts->addWidget(detailLabel);
    row->addLayout(texts, 1);
    setAccessibleName(title + ". " + detail);
}

}  // namespace tarvelo::ui
