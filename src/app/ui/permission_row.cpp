// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/permission_row.h"

#include <utility>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/fonts.h"
#include "app/ui/palette.h"
#include "app/ui/qt_text.h"
#include "app/ui/symbols.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {
namespace {

// The status symbol matches the title-2 text size.
constexpr int kSymbolSize = 20;

}  // namespace

PermissionRow::PermissionRow(const QString& title, const QString& detail, const QString& actionTitle,
                             std::function<void()> action, QWidget* parent)
    : QWidget(parent),
      status_(new QLabel(this)),
      detail_(new QLabel(detail, this)),
      button_(new QPushButton(actionTitle, this)),
      hasAction_(!actionTitle.isEmpty()) {
    status_->setObjectName(QStringLiteral("permissionStatus"));
    status_->setFixedSize(kSymbolSize, kSymbolSize);
    button_->setObjectName(QStringLiteral("openSettingsButton"));
    button_->setAccessibleDescription(title);

    auto* titleLabel = new QLabel(title, this);
    titleLabel->setObjectName(QStringLiteral("permissionTitle"));
    titleLabel->setTextFormat(Qt::PlainText);
    titleLabel->setFont(fonts::headline());
    detail_->setTextFormat(Qt::PlainText);
    detail_->setFont(fonts::callout());
    detail_->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(3);
    texts->addWidget(titleLabel);
    texts->addWidget(detail_);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(status_, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    row->addWidget(button_, 0, Qt::AlignVCenter);

    connect(button_, &QPushButton::clicked, this, [action = std::move(action)] {
        if (action) action();
    });
    refresh();
}

void PermissionRow::setGranted(bool granted) {
    if (granted == granted_) return;
    granted_ = granted;
    refresh();
}

void PermissionRow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refresh();
}

void PermissionRow::refresh() {
    const QPalette colours = palette();
    const QColor secondary = window_colors::secondary(colours);
    const QIcon symbol = granted_ ? symbolIcon("checkmark.circle.fill", palette::good()) : symbolIcon("circle", secondary);
    status_->setPixmap(symbol.pixmap(QSize(kSymbolSize, kSymbolSize), devicePixelRatioF()));
    status_->setAccessibleName(translated(granted_ ? "Granted" : "Not granted"));

    QPalette detailColours = detail_->palette();
    detailColours.setColor(QPalette::WindowText, secondary);
    detail_->setPalette(detailColours);

    button_->setVisible(hasAction_ && !granted_);
}

}  // namespace tarvelo::ui
