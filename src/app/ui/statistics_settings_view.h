// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "store/statistics_manager.h"
#include "support/subscription.h"

namespace tarvelo::ui {

class StatisticValue;
class SymbolLabel;

// The Statistics page: corrections today and this week, this week's directions and undos, and the
// reset, which asks first.
class StatisticsSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit StatisticsSettingsView(StatisticsManager& statistics, QWidget* parent = nullptr);

    // The reset confirmation while it is open, else null.
    QMessageBox* resetAlert() const { return alert_; }

private:
    void refresh();
    void confirmReset();

    StatisticsManager& statistics_;
    StatisticValue* today_;
    StatisticValue* thisWeek_;
    SymbolLabel* englishToRussian_;
    SymbolLabel* russianToEnglish_;
    SymbolLabel* undone_;
    QPointer<QMessageBox> alert_;
    Subscription days_;
};

}  // namespace tarvelo::ui
