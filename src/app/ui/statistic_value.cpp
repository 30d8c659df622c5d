// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/statistic_value.h"

#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "app/ui/fonts.h"
#include "app/ui/settings_page_style.h"

namespace tarvelo::ui {

StatisticValue::StatisticValue(std::int64_t value, const QString& label, QWidget* parent)
    : QWidget(parent), value_(page_style::makeLabel({}, fonts::sized(34, QFont::DemiBold), this)), label_(label) {
    auto* lines = new QVBoxLayout(this);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    lines->addWidget(value_);
    lines->addWidget(page_style::makeSecondaryLabel(label, fonts::body(), this));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setValue(value);
}

void StatisticValue::setValue(std::int64_t value) {
    value_->setText(QLocale::system().toString(static_cast<qlonglong>(value)));
    setAccessibleName(label_ + ": " + value_->text());
}

QString StatisticValue::valueText() const { return value_->text(); }

}  // namespace tarvelo::ui
