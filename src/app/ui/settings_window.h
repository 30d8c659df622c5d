// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QWidget>

#include "app/settings_section.h"
#include "app/ui/desktop_context.h"
#include "support/subscription.h"

class QListWidget;
class QPushButton;
class QScrollArea;

namespace tarvelo::ui {

// The settings window: the eight sections in a sidebar and the chosen section's page beside it. The
// choice is the navigation's, both ways, so the window reopens where it was left. A page is built
// afresh whenever the section changes, which drops whatever was typed or being confirmed on it.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSidebarWidth = 190;
    static constexpr int kColumnMaximumWidth = 610;
    static constexpr int kDetailPadding = 32;

    explicit SettingsWindow(DesktopContext& context, QWidget* parent = nullptr);

    // The page of the section shown now.
    QWidget* currentPage() const { return page_; }

private:
    void showSection(SettingsSection section);
    QWidget* makePage(SettingsSection section);

    // Tab goes from the sidebar through the page to the Quit button.
    void orderTabs();

    DesktopContext& context_;
    QListWidget* sidebar_;
    QPushButton* quit_ = nullptr;
    QScrollArea* detail_;
    QWidget* page_ = nullptr;
    std::optional<SettingsSection> shown_;
    Subscription navigation_;
};

}  // namespace tarvelo::ui
