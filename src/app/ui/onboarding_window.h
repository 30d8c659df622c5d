// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QWidget>

#include "app/onboarding_flow.h"
#include "app/ui/desktop_context.h"
#include "support/subscription.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace tarvelo::ui {

class HeadingLabel;
class PermissionRow;

// The three-step welcome: what Tarvelo does, the two permissions with their live state, and a summary
// that depends on them. Finishing it marks onboarding as done and hides the window; closing it without
// finishing leaves it to open again at the next launch.
class OnboardingWindow : public QWidget {
public:
    static constexpr int kWidth = 620;
    static constexpr int kHeight = 520;

    explicit OnboardingWindow(DesktopContext& context, QWidget* parent = nullptr);
    ~OnboardingWindow() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeFooter();
    QWidget* makeWelcomeStep();
    QWidget* makePermissionsStep();
    QWidget* makeReadyStep();

    void back();
    void primary();
    // Shows the flow's step, its counter and footer; `moveFocus` gives the new heading the focus.
    void showStep(bool moveFocus);
    void refreshPermissions();
    void refreshColours();

    DesktopContext& context_;
    OnboardingFlow flow_;

    QLabel* counter_ = nullptr;
    QStackedWidget* steps_ = nullptr;
    std::vector<HeadingLabel*> headings_;
    std::vector<QLabel*> secondaryLabels_;
    std::vector<QWidget*> dividers_;
    QLabel* welcomeSymbol_ = nullptr;
    QLabel* brandSymbol_ = nullptr;
    PermissionRow* accessibilityRow_ = nullptr;
    PermissionRow* inputMonitoringRow_ = nullptr;
    QLabel* readySymbol_ = nullptr;
    HeadingLabel* readyHeading_ = nullptr;
    QLabel* readyText_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* primaryButton_ = nullptr;

    std::vector<Subscription> subscriptions_;
};

}  // namespace tarvelo::ui
