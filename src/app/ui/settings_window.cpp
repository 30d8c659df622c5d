// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/settings_window.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/ui/applications_settings_view.h"
#include "app/ui/auto_switch_settings_view.h"
#include "app/ui/close_shortcuts.h"
#include "app/ui/exceptions_settings_view.h"
#include "app/ui/fonts.h"
#include "app/ui/general_settings_view.h"
#include "app/ui/hotkeys_settings_view.h"
#include "app/ui/languages_settings_view.h"
#include "app/ui/privacy_settings_view.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/statistics_settings_view.h"
#include "app/ui/symbols.h"
#include "app/ui/tarvelo_icon.h"

namespace tarvelo::ui {
namespace {

// Draws a sidebar row as one rounded selection behind the symbol and the title; the desktop's style
// would split it at the symbol.
class SidebarRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        constexpr int kInset = 8;
        constexpr int kSymbolSide = 16;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (selected) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(option.palette.brush(QPalette::Active, QPalette::Highlight));
            painter->drawRoundedRect(QRectF(option.rect).adjusted(0.5, 1, -0.5, -1), 6, 6);
        }
        const QRect symbol(option.rect.left() + kInset, option.rect.center().y() - kSymbolSide / 2 + 1, kSymbolSide,
                           kSymbolSide);
        index.data(Qt::DecorationRole).value<QIcon>().paint(painter, symbol, Qt::AlignCenter,
                                                             selected ? QIcon::Selected : QIcon::Normal);
        const QRect text = option.rect.adjusted(kInset + kSymbolSide + kInset, 0, -kInset, 0);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                          option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                        text.width()));
        painter->restore();
    }
};

int rowOf(SettingsSection section) {
    for (std::size_t row = 0; row < kAllSettingsSections.size(); ++row) {
        if (kAllSettingsSections[row] == section) return static_cast<int>(row);
    }
    return 0;
}

}  // namespace

SettingsWindow::SettingsWindow(DesktopContext& context, QWidget* parent)
    : QWidget(parent), context_(context), sidebar_(new QListWidget), detail_(new QScrollArea) {
    setWindowTitle(translated("Tarvelo Settings"));
    setWindowIcon(TarveloIcon::icon());
    setFont(fonts::body());
    setMinimumSize(760, 520);
    resize(820, 590);

    sidebar_->setObjectName("sidebar");
    sidebar_->setAccessibleName(translated("Settings sections"));
    sidebar_->setFrameShape(QFrame::NoFrame);
    sidebar_->setIconSize(QSize(16, 16));
    sidebar_->setSpacing(1);
    sidebar_->setItemDelegate(new SidebarRowDelegate(sidebar_));
    sidebar_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The sidebar lies on the window's own colour; the page beside it is lighter.
    QPalette sidebarColours = sidebar_->palette();
    sidebarColours.setColor(QPalette::Base, sidebarColours.color(QPalette::Window));
    // The selection in the product's accent rather than the desktop's, whether or not the window is active.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        sidebarColours.setColor(group, QPalette::Highlight, page_style::accentTint(sidebarColours));
        sidebarColours.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    sidebar_->setPalette(sidebarColours);
    const QColor symbolTint = page_style::accentTint(palette());
    for (const SettingsSection section : kAllSettingsSections) {
        // White on the selection, like the title beside it.
        QIcon icon = symbolIcon(systemImage(section), symbolTint);
        const QIcon selected = symbolIcon(systemImage(section), Qt::white);
        for (const int side : {16, 32}) icon.addPixmap(selected.pixmap(side, side), QIcon::Selected);
        auto* item = new QListWidgetItem(icon, translated(title(section)), sidebar_);
        item->setSizeHint(QSize(0, 30));
    }

    detail_->setObjectName("detail");
    // Not a stop of its own for Tab: the keyboard goes from the sidebar straight to the page's controls,
    // and the page scrolls to whichever has the focus.
    detail_->setFocusPolicy(Qt::NoFocus);
    detail_->setFrameShape(QFrame::NoFrame);
    detail_->setWidgetResizable(true);
    detail_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette detailColours = detail_->palette();
    detailColours.setColor(QPalette::Window, page_style::detailBackground(palette()));
    detail_->setPalette(detailColours);
    detail_->setBackgroundRole(QPalette::Window);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    split->setHandleWidth(1);
    auto* sidebarPane = new QWidget;
    sidebarPane->setMinimumWidth(180);
    sidebarPane->setMaximumWidth(220);
    auto* sidebarMargins = new QVBoxLayout(sidebarPane);
    sidebarMargins->setContentsMargins(8, 10, 8, 10);
    sidebarMargins->addWidget(sidebar_);
    // Without a tray on the panel this is the only way to quit, so it is always at hand.
    quit_ = new QPushButton(translated("Quit Tarvelo"), sidebarPane);
    quit_->setObjectName("quitButton");
    sidebarMargins->addWidget(quit_);
    connect(quit_, &QPushButton::clicked, this, [this] { context_.quit(); });
    auto* quitShortcut = new QShortcut(QKeySequence(QKeySequence::Quit), this);
    connect(quitShortcut, &QShortcut::activated, this, [this] { context_.quit(); });
    split->addWidget(sidebarPane);
    split->addWidget(detail_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({kSidebarWidth, width() - kSidebarWidth});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    // The selection, not the current row: assistive technologies select a row without moving the
    // current one, and a click does both.
    connect(sidebar_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = sidebar_->selectedItems();
        if (selected.isEmpty()) return;
        const int row = sidebar_->row(selected.front());
        if (row < 0 || row >= static_cast<int>(kAllSettingsSections.size())) return;
        context_.navigation.requestedSection.set(kAllSettingsSections[static_cast<std::size_t>(row)]);
    });
    addCloseShortcuts(*this);
    // Keyboard users start where the sections are chosen; Tab then moves into the page.
    sidebar_->setFocus(Qt::OtherFocusReason);

    navigation_ = context_.navigation.requestedSection.subscribe(
        [this](const SettingsSection& section) { showSection(section); });
    showSection(context_.navigation.requestedSection.get());
}

void SettingsWindow::showSection(SettingsSection section) {
    {
        const QSignalBlocker quiet(sidebar_);
        sidebar_->setCurrentRow(rowOf(section));
    }
    // The navigation republishes unchanged values; only a new section rebuilds the page.
    if (shown_ == section) return;
    shown_ = section;

    auto* content = new QWidget;
    content->setObjectName("detailContent");
    content->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(kDetailPadding, kDetailPadding, kDetailPadding, kDetailPadding);
    auto* column = new QWidget(content);
    column->setMaximumWidth(kColumnMaximumWidth);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(24);

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(page_style::makeSymbol(systemImage(section), page_style::accentTint(palette()), 26, column));
    QLabel* heading = page_style::makeLabel(translated(title(section)), fonts::sized(28, QFont::DemiBold), column);
    heading->setObjectName("sectionTitle");
    header->addWidget(heading, 1);
    stack->addLayout(header);

    page_ = makePage(section);
    page_->setParent(column);
    stack->addWidget(page_);
    stack->addStretch(1);
    row->addWidget(column, 1);
    row->addStretch(0);

    // Replacing the scroll area's widget deletes the previous page with everything typed on it.
    detail_->setWidget(content);
    orderTabs();
}

void SettingsWindow::orderTabs() {
    // A new page's controls join the end of the chain, after the Quit button; the button moves behind
    // the last of them.
    QWidget* last = nullptr;
    for (QWidget* widget = sidebar_->nextInFocusChain(); widget != sidebar_; widget = widget->nextInFocusChain()) {
        if (page_->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus)) last = widget;
    }
    if (last != nullptr) setTabOrder(last, quit_);
}

QWidget* SettingsWindow::makePage(SettingsSection section) {
    QWidget* page = nullptr;
    switch (section) {
        case SettingsSection::general: page = new GeneralSettingsView(context_); break;
        case SettingsSection::autoSwitch: page = new AutoSwitchSettingsView(context_.state.settings); break;
        case SettingsSection::hotkeys: page = new HotkeysSettingsView(context_); break;
        case SettingsSection::languages: page = new LanguagesSettingsView; break;
        case SettingsSection::exceptions: page = new ExceptionsSettingsView(context_.state.exceptions); break;
        case SettingsSection::applications:
            page = new ApplicationsSettingsView(context_.state.applicationFilter, context_.keyLabels,
                                                context_.knowsFocusedApplication());
            break;
        case SettingsSection::privacy: page = new PrivacySettingsView(context_); break;
        case SettingsSection::statistics: page = new StatisticsSettingsView(context_.state.statistics); break;
    }
    return page;
}

}  // namespace tarvelo::ui
