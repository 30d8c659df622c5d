// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QColor>
#include <QIcon>
#include <QObject>
#include <QString>

#include "app/menu_bar_content.h"
#include "app/operational_status.h"
#include "app/ui/desktop_context.h"
#include "support/subscription.h"

class QMenu;
class QSystemTrayIcon;

namespace tarvelo::ui {

// Tarvelo's status icon: the symbol of the operational status, "Tarvelo: " and the status as its tool
// tip, and the menu of commands. It is shown exactly while the menu-bar icon setting is on. The menu is
// rebuilt before it opens and whenever a value its items read changes, so an open menu stays current.
// In a panel that embeds the picture (XEmbed) the panel's colour is looked at beside the symbol each
// time the status is published, so the symbol stays dark on a light panel and light on a dark one,
// also after the desktop's theme changes.
class TrayItem : public QObject {
public:
    TrayItem(DesktopContext& context, MenuBarContent& menu, QObject* parent = nullptr);
    ~TrayItem() override;

    QMenu* menu() const { return menu_.get(); }
    bool isVisible() const;
    QString toolTip() const;
    QIcon icon() const;

private:
    void refreshStatus();
    // The colour of the panel around the embedded icon; none where the panel is not seen (a panel
    // that draws icons by name, or no panel).
    std::optional<QColor> panelBehindIcon() const;
    void refreshMenu();

    DesktopContext& context_;
    MenuBarContent& content_;
    std::unique_ptr<QMenu> menu_;
    QSystemTrayIcon* tray_;
    std::optional<OperationalStatus> shownStatus_;
    // The panel colour the shown picture was made for; none for the picture made without one.
    std::optional<QColor> shownPanel_;
    std::vector<MenuItem> shownItems_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace tarvelo::ui
