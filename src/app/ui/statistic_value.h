// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QString>
#include <QWidget>

class QLabel;

namespace tarvelo::ui {

// A count as the statistics page shows it: the number, formatted for the user's locale, in large
// semibold figures over its label in the secondary colour.
class StatisticValue : public QWidget {
    Q_OBJECT

public:
    StatisticValue(std::int64_t value, const QString& label, QWidget* parent = nullptr);

    void setValue(std::int64_t value);
    // The number as shown.
    QString valueText() const;

private:
    QLabel* value_;
    QString label_;
};

}  // namespace tarvelo::ui
