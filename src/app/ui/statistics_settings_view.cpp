// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/statistics_settings_view.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/fonts.h"
#include "app/ui/palette.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/statistic_value.h"
#include "app/ui/symbol_label.h"

namespace tarvelo::ui {
namespace {

SymbolLabel* makeDirection(std::string_view symbol, const char* objectName, QWidget* parent) {
    auto* label = new SymbolLabel(symbol, {}, fonts::body(), {}, parent);
    label->setObjectName(objectName);
    return label;
}

// The figure, two spaces, and what it counts: "12  EN \u2192 RU".
QString counted(std::int64_t count, const QString& what) {
    return QLocale::system().toString(static_cast<qlonglong>(count)) + "  " + what;
}

}  // namespace

StatisticsSettingsView::StatisticsSettingsView(StatisticsManager& statistics, QWidget* parent)
    : QWidget(parent),
      statistics_(statistics),
      today_(new StatisticValue(0, translated("Today"), this)),
      thisWeek_(new StatisticValue(0, translated("This week"), this)),
      englishToRussian_(makeDirection("arrow.right", "englishToRussianLabel", this)),
      russianToEnglish_(makeDirection("arrow.left", "russianToEnglishLabel", this)),
      undone_(makeDirection("arrow.uturn.backward", "undoneLabel", this)) {
    QVBoxLayout* column = page_style::makePageColumn(*this);

    auto* activity = new SettingBlock(
        translated("Local activity"),
        translated("Only aggregate counts are recorded. No words or application names are included."), this);
    today_->setObjectName("todayValue");
    thisWeek_->setObjectName("thisWeekValue");
    auto* values = new QHBoxLayout;
    values->setSpacing(36);
    // Both use the same fonts, so aligning their tops lines up the figures' baselines.
    values->addWidget(today_, 0, Qt::AlignTop);
    values->addWidget(thisWeek_, 0, Qt::AlignTop);
    values->addStretch(1);
    activity->addRow(values);
    page_style::addBlock(*column, activity);

    auto* direction = new SettingBlock(translated("Direction this week"), {}, this);
    auto* directions = new QHBoxLayout;
    directions->setSpacing(28);
    directions->addWidget(englishToRussian_);
    directions->addWidget(russianToEnglish_);
    directions->addWidget(undone_);
    directions->addStretch(1);
    direction->addRow(directions);
    page_style::addBlock(*column, direction);

    auto* reset = new QPushButton(translated("Reset Statistics\u2026"), this);
    reset->setObjectName("resetButton");
    page_style::padButton(*reset);
    page_style::setTextColor(*reset, palette::wrong());
    column->addWidget(page_style::makeDivider(this));
    column->addWidget(reset, 0, Qt::AlignLeft);

    connect(reset, &QPushButton::clicked, this, [this] { confirmReset(); });
    days_ = statistics_.days().subscribe([this](const auto&) { refresh(); });
    refresh();
}

void StatisticsSettingsView::refresh() {
    const settings_pages::StatisticsSummary summary = settings_pages::summarize(statistics_);
    today_->setValue(summary.today);
    thisWeek_->setValue(summary.thisWeek);
    englishToRussian_->setText(counted(summary.englishToRussianThisWeek, QString::fromUtf8("EN \u2192 RU")));
    russianToEnglish_->setText(counted(summary.russianToEnglishThisWeek, QString::fromUtf8("RU \u2192 EN")));
    undone_->setText(counted(summary.undoneThisWeek, translated("Undone")));
    // What a screen reader says is the whole sentence, with the plural form the number asks for.
    today_->setAccessibleName(
        translatedCount("{count} correction today", "{count} corrections today", summary.today));
    thisWeek_->setAccessibleName(
        translatedCount("{count} correction this week", "{count} corrections this week", summary.thisWeek));
    englishToRussian_->setAccessibleName(translatedCount("{count} correction from English to Russian this week",
                                                         "{count} corrections from English to Russian this week",
                                                         summary.englishToRussianThisWeek));
    russianToEnglish_->setAccessibleName(translatedCount("{count} correction from Russian to English this week",
                                                         "{count} corrections from Russian to English this week",
                                                         summary.russianToEnglishThisWeek));
    undone_->setAccessibleName(translatedCount("{count} correction undone this week",
                                               "{count} corrections undone this week", summary.undoneThisWeek));
}

void StatisticsSettingsView::confirmReset() {
    if (alert_) {
        alert_->raise();
        return;
    }
    // A child of the page, so that leaving the page drops a pending confirmation with it.
    auto* alert = new QMessageBox(this);
    alert->setObjectName("resetAlert");
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->setIcon(QMessageBox::Warning);
    alert->setWindowTitle(translated("Reset local statistics?"));
    alert->setText(translated("Reset local statistics?"));
    alert->setInformativeText(translated("This removes aggregate counts. Exceptions and settings are not changed."));
    QPushButton* confirm = alert->addButton(translated("Reset"), QMessageBox::DestructiveRole);
    confirm->setObjectName("confirmResetButton");
    page_style::setTextColor(*confirm, palette::wrong());
    QPushButton* cancel = alert->addButton(translated("Cancel"), QMessageBox::RejectRole);
    cancel->setObjectName("cancelResetButton");
    alert->setDefaultButton(cancel);
    alert->setEscapeButton(cancel);
    // The question in bold over its consequence, and wide enough that the sentence keeps to two lines.
    for (QLabel* label : alert->findChildren<QLabel*>()) {
        if (label->text() == alert->text()) label->setFont(fonts::headline());
    }
    if (auto* grid = qobject_cast<QGridLayout*>(alert->layout())) {
        grid->addItem(new QSpacerItem(360, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    connect(confirm, &QPushButton::clicked, this, [this] { statistics_.reset(); });
    alert_ = alert;
    alert->open();
}

}  // namespace tarvelo::ui
