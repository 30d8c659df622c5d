// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/applications_settings_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/fonts.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/switch_toggle.h"
#include "app/ui/symbol_label.h"
#include "app/ui/symbols.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {

ApplicationsSettingsView::ApplicationsSettingsView(ApplicationFilter& filter, const KeyLabels& words,
                                                   bool knowsApplications, QWidget* parent)
    : QWidget(parent),
      filter_(filter),
      customList_(new QWidget(this)),
      customRows_(new QVBoxLayout(customList_)),
      identifier_(new QLineEdit(this)),
      exclude_(new QPushButton(translated("Exclude"), this)) {
    QVBoxLayout* column = page_style::makePageColumn(*this);

    auto* exclusions = new SettingBlock(translated("Application exclusions"),
                                        translated("Automatic correction is off in terminals by default. IDEs remain "
                                                   "enabled and can be excluded here. Manual selection conversion "
                                                   "remains available."),
                                        this);
    if (!knowsApplications) {
        auto* warning = new SymbolLabel("exclamationmark.triangle",
                                        translated("This desktop does not tell Tarvelo which application has the "
                                                   "keyboard (there is no accessibility bus), so no exclusion applies "
                                                   "for now."),
                                        fonts::callout(), window_colors::warningText(palette()), this);
        warning->setObjectName("exclusionsInert");
        warning->setWordWrap(true);
        exclusions->addRow(warning);
    }
    for (const KnownApplication& application : filter_.knownApplications()) {
        auto* toggle = new SwitchToggle(translated("Disable in {application}", {{"application", application.name}}), this);
        toggle->setObjectName(page_style::text("disable:" + application.bundleIdentifier));
        toggle->setIcon(symbolIcon(application.systemImage, page_style::secondary(palette())));
        const std::string identifier = application.bundleIdentifier;
        connect(toggle, &SwitchToggle::toggled, this,
                [this, identifier](bool disabled) { filter_.setDisabled(disabled, identifier); });
        exclusions->addRow(toggle);
        knownSwitches_.push_back(toggle);
    }
    page_style::addBlock(*column, exclusions);

    auto* custom = new SettingBlock(translated(words.addIdentifierTitle), {}, this);
    customList_->setObjectName("customExclusions");
    customRows_->setContentsMargins(0, 0, 0, 0);
    customRows_->setSpacing(6);
    customList_->hide();
    custom->addRow(customList_);
    identifier_->setObjectName("bundleIdentifierField");
    identifier_->setPlaceholderText(translated(words.identifierExample));
    identifier_->setAccessibleName(translated(words.addIdentifierTitle));
    identifier_->setTextMargins(4, 2, 4, 2);
    exclude_->setObjectName("excludeButton");
    exclude_->setEnabled(false);
    page_style::padButton(*exclude_);
    auto* input = new QHBoxLayout;
    input->setSpacing(8);
    input->addWidget(identifier_, 1);
    input->addWidget(exclude_);
    custom->addRow(input);
    page_style::addBlock(*column, custom);

    connect(identifier_, &QLineEdit::textChanged, this, [this](const QString& text) {
        exclude_->setEnabled(settings_pages::canExclude(filter_, text.toStdString()));
    });
    // Return submits whatever the button says; the filter decides what can name an application.
    connect(identifier_, &QLineEdit::returnPressed, this, [this] { submit(); });
    connect(exclude_, &QPushButton::clicked, this, [this] { submit(); });

    disabled_ = filter_.disabledBundleIdentifiers().subscribe(
        [this](const std::set<std::string>& disabled) { refresh(disabled); });
    refresh(filter_.disabledBundleIdentifiers().get());
}

void ApplicationsSettingsView::submit() {
    filter_.add(identifier_->text().toStdString());
    identifier_->clear();
}

void ApplicationsSettingsView::refresh(const std::set<std::string>& disabled) {
    const std::vector<KnownApplication>& known = filter_.knownApplications();
    for (std::size_t index = 0; index < knownSwitches_.size() && index < known.size(); ++index) {
        const QSignalBlocker quiet(knownSwitches_[index]);
        knownSwitches_[index]->setChecked(disabled.count(known[index].bundleIdentifier) != 0);
    }

    std::vector<std::string> custom = settings_pages::customExclusions(disabled, known);
    if (custom == shownCustom_) return;
    shownCustom_ = std::move(custom);
    // A row may be going away while its own button is still delivering the click that removed it.
    while (QLayoutItem* item = customRows_->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    for (const std::string& identifier : shownCustom_) {
        const QString text = page_style::text(identifier);
        auto* row = new QWidget(customList_);
        row->setObjectName("customExclusionRow");
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        QLabel* name = page_style::makeLabel(text, fonts::monospaced(13), row);
        name->setTextInteractionFlags(Qt::TextSelectableByMouse);
        line->addWidget(name, 1);
        auto* remove = new QPushButton(translated("Remove"), row);
        remove->setObjectName("removeIdentifierButton");
        remove->setAccessibleName(translated("Remove {item}", {{"item", identifier}}));
        page_style::padButton(*remove);
        connect(remove, &QPushButton::clicked, this, [this, identifier] { filter_.setDisabled(false, identifier); });
        line->addWidget(remove);
        customRows_->addWidget(row);
        // Shown now, not on the next turn of the event loop, so that the list is whole at once.
        row->show();
    }
    customList_->setVisible(!shownCustom_.empty());
}

}  // namespace tarvelo::ui
