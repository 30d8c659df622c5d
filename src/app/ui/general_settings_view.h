// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QWidget>

#include "app/ui/desktop_context.h"
#include "support/subscription.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tarvelo::ui {

class SymbolLabel;

// The General page: startup, behaviour toggles and the pause, each written straight into the settings.
// It also warns at the top when the settings cannot be kept beyond this run.
class GeneralSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettingsView(DesktopContext& context, QWidget* parent = nullptr);

private:
    void refresh();

    AppState& state_;
    SettingsManager& settings_;
    DefaultsStore& defaults_;
    SymbolLabel* storageProblem_;
    QCheckBox* launchAtLogin_;
    SymbolLabel* launchAtLoginError_;
    QCheckBox* autoSwitch_;
    QCheckBox* playSound_;
    QCheckBox* notification_;
    QCheckBox* menuBarIcon_;
    QLabel* pauseStatus_;
    QPushButton* pauseButton_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace tarvelo::ui
