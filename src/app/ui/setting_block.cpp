// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/setting_block.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/fonts.h"
#include "app/ui/settings_page_style.h"

namespace tarvelo::ui {

SettingBlock::SettingBlock(const QString& title, const QString& detail, QWidget* parent)
    : QWidget(parent), rows_(new QVBoxLayout(this)) {
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(kRowSpacing);
    QLabel* titleLabel = page_style::makeLabel(title, fonts::headline(), this);
    titleLabel->setObjectName("blockTitle");
    rows_->addWidget(titleLabel);
    if (!detail.isEmpty()) {
        QLabel* detailLabel = page_style::makeSecondaryLabel(detail, fonts::callout(), this);
        detailLabel->setObjectName("blockDetail");
        detailLabel->setWordWrap(true);
        rows_->addWidget(detailLabel);
    }
}

void SettingBlock::addRow(QWidget* row) { rows_->addWidget(row); }

void SettingBlock::addRow(QLayout* row) { rows_->addLayout(row); }

}  // namespace tarvelo::ui
