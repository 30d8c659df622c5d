// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "app/ui/desktop_context.h"
#include "support/subscription.h"

class QVBoxLayout;

namespace tarvelo::ui {

class PermissionRow;
class SymbolLabel;

// The Privacy page: both permissions with their requests, the monitor's status with a restart, what
// this desktop keeps from Tarvelo, and the privacy promises.
class PrivacySettingsView : public QWidget {
    Q_OBJECT

public:
    explicit PrivacySettingsView(DesktopContext& context, QWidget* parent = nullptr);

private:
    void refresh();
    void showLimitations(std::vector<std::string> lines);

    DesktopContext& context_;
    PermissionRow* accessibility_;
    PermissionRow* inputMonitoring_;
    SymbolLabel* status_;
    QWidget* limitations_;
    QVBoxLayout* limitationRows_;
    std::vector<std::string> shownLimitations_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace tarvelo::ui
