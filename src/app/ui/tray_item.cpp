// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/tray_item.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>

#include "app/ui/qt_text.h"
#include "app/ui/symbols.h"
#include "app/ui/tray_icon.h"

namespace tarvelo::ui {

TrayItem::TrayItem(DesktopContext& context, MenuBarContent& menu, QObject* parent)
    : QObject(parent), context_(context), content_(menu), menu_(std::make_unique<QMenu>()),
      tray_(new QSystemTrayIcon(this)) {
    menu_->setObjectName(QStringLiteral("trayMenu"));
    tray_->setContextMenu(menu_.get());
    connect(menu_.get(), &QMenu::aboutToShow, this, [this] { refreshMenu(); });
    // A left click opens the same menu where the pointer is.
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason != QSystemTrayIcon::Trigger) return;
        refreshMenu();
        menu_->popup(QCursor::pos());
    });

    AppState& state = context_.state;
    // The status is published at least once a second, which also keeps the pause and undo items current.
    subscriptions_.push_back(state.operationalStatus().subscribe([this](const OperationalStatus&) {
        refreshStatus();
        refreshMenu();
    }));
    subscriptions_.push_back(state.settings.isAutoSwitchEnabled.subscribe([this](const bool&) { refreshMenu(); }));
    subscriptions_.push_back(state.settings.pauseUntil.subscribe([this](const auto&) { refreshMenu(); }));
    subscriptions_.push_back(state.engine.lastCorrection().subscribe([this](const auto&) { refreshMenu(); }));
    subscriptions_.push_back(state.settings.convertSelectionChord.subscribe([this](const auto&) { refreshMenu(); }));
    subscriptions_.push_back(state.settings.convertLastWordChord.subscribe([this](const auto&) { refreshMenu(); }));
    subscriptions_.push_back(state.settings.showMenuBarIcon.subscribe([this](const bool& shown) { tray_->setVisible(shown); }));

    refreshStatus();
    refreshMenu();
    tray_->setVisible(state.settings.showMenuBarIcon.get());
}

TrayItem::~TrayItem() {
    subscriptions_.clear();
    tray_->setContextMenu(nullptr);
}

bool TrayItem::isVisible() const { return tray_->isVisible(); }

QString TrayItem::toolTip() const { return tray_->toolTip(); }

QIcon TrayItem::icon() const { return tray_->icon(); }

std::optional<QColor> TrayItem::panelBehindIcon() const {
    const QRect place = tray_->geometry();
    if (!tray_->isVisible() || place.width() < 4 || place.height() < 4) return std::nullopt;
    QScreen* screen = QGuiApplication::screenAt(place.center());
    if (screen == nullptr) return std::nullopt;
    const QPoint origin = place.topLeft() - screen->geometry().topLeft();
    const QImage seen = screen->grabWindow(0, origin.x(), origin.y(), place.width(), place.height()).toImage();
    if (seen.width() < 2 || seen.height() < 2) return std::nullopt;
    // The picture leaves its corners free: there the panel shows.
    const int right = seen.width() - 1;
    const int bottom = seen.height() - 1;
    float red = 0;
    float green = 0;
    float blue = 0;
    for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
        const QColor pixel = seen.pixelColor(corner);
        red += pixel.redF() / 4;
        green += pixel.greenF() / 4;
        blue += pixel.blueF() / 4;
    }
    return QColor::fromRgbF(red, green, blue);
}

void TrayItem::refreshStatus() {
    const OperationalStatus status = context_.state.operationalStatus().get();
    const std::optional<QColor> seen = panelBehindIcon();
    // A panel that is not seen for a moment (the icon hidden, or embedded anew) keeps the picture made
    // for it.
    const std::optional<QColor> panel = seen ? seen : shownPanel_;
    const bool newShade = seen && (!shownPanel_ || isLightPanel(*seen) != isLightPanel(*shownPanel_));
    // The status is published every second. A new icon each time would be drawn anew each time, and
    // every picture the panel asks of it would go into the pixmap cache under a new key.
    if (status == shownStatus_ && !newShade) return;
    shownStatus_ = status;
    shownPanel_ = panel;
    tray_->setIcon(trayIcon(status, QIcon::themeSearchPaths(), panel));
    tray_->setToolTip(translated("Tarvelo: {status}", {{"status", i18n::tr(std::string(title(status)).c_str())}}));
}

void TrayItem::refreshMenu() {
    std::vector<MenuItem> items = content_.items();
    if (items == shownItems_ && !menu_->actions().isEmpty()) return;
    shownItems_ = std::move(items);

    // The action that triggered this rebuild may still be delivering its signal: let the event loop
    // delete the old actions.
    for (QAction* action : menu_->actions()) {
        menu_->removeAction(action);
        action->deleteLater();
    }
    const QColor ink = menu_->palette().color(QPalette::WindowText);
    for (const MenuItem& item : shownItems_) {
        if (item.isSeparator()) {
            menu_->addSeparator();
            continue;
        }
        auto* action = new QAction(text(item.title), menu_.get());
        if (item.checkable) {
            action->setCheckable(true);
            action->setChecked(item.checked);
        }
        if (!item.shortcut.empty()) {
            // Shown beside the item, and working while the menu has the keyboard; the global chords are
            // the keyboard monitor's.
            action->setShortcut(QKeySequence(text(item.shortcut)));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        if (!item.systemImage.empty()) action->setIcon(symbolIcon(item.systemImage, ink));
        const MenuCommand command = *item.command;
        connect(action, &QAction::triggered, this, [this, command] { content_.perform(command); });
        menu_->addAction(action);
    }
}

}  // namespace tarvelo::ui
