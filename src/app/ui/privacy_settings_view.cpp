// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/privacy_settings_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/fonts.h"
#include "app/ui/input_source_offer_row.h"
#include "app/ui/palette.h"
#include "app/ui/permission_row.h"
#include "app/ui/privacy_point.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/symbol_label.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {
namespace {

// Both permission rows stand 4 pixels clear of their neighbours.
QWidget* padded(QWidget* row, QWidget* parent) {
    auto* frame = new QWidget(parent);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->addWidget(row);
    return frame;
}

}  // namespace

PrivacySettingsView::PrivacySettingsView(DesktopContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      accessibility_(new PermissionRow(translated("Accessibility"), translated("Replace only a confirmed wrong-layout word."),
                                       translated(context.keyLabels.openAccessibilitySettings),
                                       [&permissions = context.state.permissions] {
                                           permissions.requestAccessibility();
                                       })),
      inputMonitoring_(new PermissionRow(translated(context.keyLabels.inputAccessTitle),
                                         translated("Read only a transient current-word buffer."),
                                         context.keyLabels.openInputAccessSettings.empty()
                                             ? QString()
                                             : translated(context.keyLabels.openInputAccessSettings),
                                         [&permissions = context.state.permissions] {
                                             permissions.requestInputMonitoring();
                                         })),
      status_(new SymbolLabel(systemImage(context.state.operationalStatus().get()), {}, fonts::body(), {}, this)),
      limitations_(new QWidget(this)),
      limitationRows_(new QVBoxLayout(limitations_)) {
    QVBoxLayout* column = page_style::makePageColumn(*this);

    auto* permissions = new SettingBlock(
        translated(context.keyLabels.accessBlockTitle), translated(context.keyLabels.accessBlockDetail), this);
    accessibility_->setObjectName("accessibilityPermission");
    inputMonitoring_->setObjectName("inputMonitoringPermission");
    permissions->addRow(padded(accessibility_, this));
    permissions->addRow(padded(inputMonitoring_, this));

    status_->setObjectName("statusLabel");
    auto* restart = new QPushButton(translated(context.keyLabels.restartMonitor), this);
    restart->setObjectName("restartMonitorButton");
    page_style::padButton(*restart);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(status_, 1, Qt::AlignVCenter);
    statusRow->addWidget(restart);
    permissions->addRow(statusRow);

    auto* backend = new QLabel(page_style::text(settings_pages::keyboardBackendDescription(context.keyboardSource)), this);
    backend->setObjectName("keyboardBackend");
    backend->setWordWrap(true);
    permissions->addRow(backend);
    if (context.gnomeInputSources) {
        permissions->addRow(new InputSourceOfferRow(*context.gnomeInputSources, InputSourceOfferRow::Form::full, this));
    }
    if (context.plasmaWithoutFcitx5) {
        auto* plasma = new QLabel(page_style::text(settings_pages::plasmaSetupSteps()), this);
        plasma->setObjectName("plasmaSetup");
        plasma->setWordWrap(true);
        permissions->addRow(plasma);
    }

    limitations_->setObjectName("desktopLimitations");
    limitationRows_->setContentsMargins(0, 0, 0, 0);
    limitationRows_->setSpacing(6);
    permissions->addRow(limitations_);
    page_style::addBlock(*column, permissions);

    auto* guarantees = new SettingBlock(translated("Privacy guarantees"), {}, this);
    guarantees->addRow(new PrivacyPoint(
        "lock.shield", translated("Secure fields are skipped"),
        translated("The buffer is cleared before any password or protected field is processed."), this));
    guarantees->addRow(new PrivacyPoint("network.slash", translated("No network service"),
                                        translated("Detection, learning, and statistics stay on this computer."), this));
    guarantees->addRow(new PrivacyPoint("text.line.first.and.arrowtriangle.forward", translated("No typing history"),
                                        translated("Only the current or most recent word remains briefly in memory; "
                                                   "stored data is aggregate counts and exceptions."),
                                        this));
    page_style::addBlock(*column, guarantees);

    connect(restart, &QPushButton::clicked, this, [this] { context_.state.keyboardMonitor.restartIfPossible(); });

    const auto follow = [this](const auto&) { refresh(); };
    subscriptions_.push_back(context_.state.permissions.hasAccessibility.subscribe(follow));
    subscriptions_.push_back(context_.state.permissions.hasInputMonitoring.subscribe(follow));
    subscriptions_.push_back(context_.state.operationalStatus().subscribe(follow));
    refresh();
}

void PrivacySettingsView::refresh() {
    accessibility_->setGranted(context_.state.permissions.hasAccessibility.get());
    inputMonitoring_->setGranted(context_.state.permissions.hasInputMonitoring.get());

    const OperationalStatus status = context_.state.operationalStatus().get();
    status_->setSymbol(systemImage(status));
    status_->setText(translated(title(status)));
    status_->setColor(settings_pages::isHealthy(status) ? window_colors::goodText(palette())
                                                         : window_colors::warningText(palette()));

    // Which chords another program holds can change when the monitor grabs them again.
    std::vector<std::string> limitations =
        settings_pages::desktopLimitations(context_.waylandSession, context_.unavailableChords());
    if (context_.inputMethod && !context_.inputMethodRunning()) {
        limitations.insert(limitations.begin(), settings_pages::inputMethodAbsent(context_.keyboardSource));
    }
    showLimitations(std::move(limitations));
}

void PrivacySettingsView::showLimitations(std::vector<std::string> lines) {
    if (lines == shownLimitations_ && limitationRows_->count() == static_cast<int>(lines.size())) return;
    shownLimitations_ = std::move(lines);
    while (QLayoutItem* item = limitationRows_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const std::string& line : shownLimitations_) {
        auto* warning = new SymbolLabel("exclamationmark.triangle", page_style::text(line), fonts::callout(),
                                        window_colors::warningText(palette()), limitations_);
        warning->setObjectName("desktopLimitation");
        warning->setWordWrap(true);
        limitationRows_->addWidget(warning);
        warning->show();
    }
    limitations_->setVisible(!shownLimitations_.empty());
}

}  // namespace tarvelo::ui
