// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/auto_switch_settings_view.h"

#include <cmath>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/correction_example_view.h"
#include "app/ui/fonts.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/symbol_label.h"

namespace tarvelo::ui {

AutoSwitchSettingsView::AutoSwitchSettingsView(SettingsManager& settings, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      enabled_(new QCheckBox(translated("Correct wrong-layout words automatically"), this)),
      switchLayout_(new QCheckBox(translated("Switch the layout after a correction"), this)),
      sensitivity_(new QSlider(Qt::Horizontal, this)),
      threshold_(page_style::makeSecondaryLabel({}, fonts::caption(), this)) {
    QVBoxLayout* column = page_style::makePageColumn(*this);

    auto* automatic = new SettingBlock(
        translated("Automatic correction"),
        translated("Tarvelo changes a word only when the converted version scores clearly higher than the original."),
        this);
    automatic->addRow(new CorrectionExampleView(this));
    enabled_->setObjectName("autoSwitchToggle");
    enabled_->setFont(fonts::body());
    automatic->addRow(enabled_);
    switchLayout_->setObjectName("switchLayoutToggle");
    switchLayout_->setFont(fonts::body());
    const QString switchLayoutDetail =
        translated("After correcting a word, select its layout so the rest of the sentence is typed right.");
    switchLayout_->setAccessibleName(switchLayout_->text());
    switchLayout_->setAccessibleDescription(switchLayoutDetail);
    automatic->addRow(switchLayout_);
    auto* switchLayoutNote = page_style::makeSecondaryLabel(switchLayoutDetail, fonts::callout(), this);
    switchLayoutNote->setObjectName("switchLayoutDetail");
    switchLayoutNote->setWordWrap(true);
    automatic->addRow(switchLayoutNote);
    page_style::addBlock(*column, automatic);

    auto* confidence = new SettingBlock(
        translated("Confidence threshold"),
        translated("Higher confidence reduces false corrections but may miss uncommon words."), this);
    sensitivity_->setObjectName("sensitivitySlider");
    sensitivity_->setRange(0, kSliderSteps);
    sensitivity_->setSingleStep(1);
    sensitivity_->setPageStep(kSliderSteps / 20);
    sensitivity_->setAccessibleName(translated("Confidence threshold"));
    auto* sliderRow = new QHBoxLayout;
    sliderRow->setSpacing(10);
    // A higher threshold asks more of a conversion, so the low end corrects more.
    sliderRow->addWidget(page_style::makeSecondaryLabel(translated("More corrections"), fonts::callout(), this));
    sliderRow->addWidget(sensitivity_, 1);
    sliderRow->addWidget(page_style::makeSecondaryLabel(translated("Fewer corrections"), fonts::callout(), this));
    confidence->addRow(sliderRow);
    threshold_->setObjectName("thresholdText");
    confidence->addRow(threshold_);
    page_style::addBlock(*column, confidence);

    auto* decides = new SettingBlock(translated("How it decides"), {}, this);
    const struct {
        const char* symbol;
        const char* text;
    } reasons[] = {
        {"books.vertical", "Local dictionaries and frequency hints"},
        {"textformat.abc", "Character n-grams and spelling heuristics"},
        {"apple.intelligence", "Built-in language model confidence"},
        {"brain.head.profile", "Your exceptions and Undo choices"},
    };
    for (const auto& reason : reasons) decides->addRow(new SymbolLabel(reason.symbol, translated(reason.text), fonts::body(), {}, this));
    page_style::addBlock(*column, decides);

    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) { settings_.isAutoSwitchEnabled.set(on); });
    connect(switchLayout_, &QCheckBox::toggled, this, [this](bool on) { settings_.switchLayoutAfterCorrection.set(on); });
    // Every position on the way is stored, as the slider moves.
    connect(sensitivity_, &QSlider::valueChanged, this,
            [this](int position) { settings_.sensitivity.set(static_cast<double>(position) / kSliderSteps); });

    const auto follow = [this](const auto&) { refresh(); };
    subscriptions_.push_back(settings_.isAutoSwitchEnabled.subscribe(follow));
    subscriptions_.push_back(settings_.switchLayoutAfterCorrection.subscribe(follow));
    subscriptions_.push_back(settings_.sensitivity.subscribe(follow));
    refresh();
}

void AutoSwitchSettingsView::refresh() {
    {
        const QSignalBlocker quiet(enabled_);
        enabled_->setChecked(settings_.isAutoSwitchEnabled.get());
    }
    {
        const QSignalBlocker quiet(switchLayout_);
        switchLayout_->setChecked(settings_.switchLayoutAfterCorrection.get());
    }
    {
        // Showing the stored value must not store it again, rounded to the slider's steps.
        const QSignalBlocker quiet(sensitivity_);
        sensitivity_->setValue(static_cast<int>(std::lround(settings_.sensitivity.get() * kSliderSteps)));
    }
    threshold_->setText(page_style::text(settings_pages::thresholdText(settings_.sensitivity.get())));
}

}  // namespace tarvelo::ui
