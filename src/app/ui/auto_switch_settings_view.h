// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QWidget>

#include "store/settings_manager.h"
#include "support/subscription.h"

class QCheckBox;
class QLabel;
class QSlider;

namespace tarvelo::ui {

// The Auto Switch page: the example, the switch for automatic correction and the one for selecting the
// corrected word's layout after it, the confidence threshold and how a decision is made.
class AutoSwitchSettingsView : public QWidget {
    Q_OBJECT

public:
    // The slider's steps from 0.0 to 1.0.
    static constexpr int kSliderSteps = 1000;

    explicit AutoSwitchSettingsView(SettingsManager& settings, QWidget* parent = nullptr);

private:
    void refresh();

    SettingsManager& settings_;
    QCheckBox* enabled_;
    QCheckBox* switchLayout_;
    QSlider* sensitivity_;
    QLabel* threshold_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace tarvelo::ui
