// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/general_settings_view.h"

#include <QCheckBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/fonts.h"
#include "app/ui/palette.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/symbol_label.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {
namespace {

QCheckBox* makeToggle(const QString& text, const char* objectName, QWidget* parent) {
    auto* toggle = new QCheckBox(text, parent);
    toggle->setObjectName(objectName);
    toggle->setFont(fonts::body());
    return toggle;
}

SymbolLabel* makeWarning(const char* objectName, QWidget* parent) {
    auto* warning = new SymbolLabel("exclamationmark.triangle", {}, fonts::callout(),
                                   window_colors::warningText(parent->palette()), parent);
    warning->setObjectName(objectName);
    warning->setWordWrap(true);
    return warning;
}

std::string shortTime(double seconds) {
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(seconds * 1000.0));
    return QLocale::system().toString(moment.time(), QLocale::ShortFormat).toStdString();
}

void setChecked(QCheckBox& toggle, bool checked) {
    const QSignalBlocker quiet(toggle);
    toggle.setChecked(checked);
}

}  // namespace

GeneralSettingsView::GeneralSettingsView(DesktopContext& context, QWidget* parent)
    : QWidget(parent),
      state_(context.state),
      settings_(context.state.settings),
      defaults_(context.defaults),
      storageProblem_(makeWarning("storageProblem", this)),
      launchAtLogin_(makeToggle(translated("Launch Tarvelo at login"), "launchAtLoginToggle", this)),
      launchAtLoginError_(makeWarning("launchAtLoginError", this)),
      autoSwitch_(makeToggle(translated("Enable Auto Switch"), "autoSwitchToggle", this)),
      playSound_(makeToggle(translated("Play a sound after correction"), "playSoundToggle", this)),
      notification_(makeToggle(translated("Show a notification after correction"), "notificationToggle", this)),
      menuBarIcon_(makeToggle(translated(context.keyLabels.showIconToggle), "menuBarIconToggle", this)),
      pauseStatus_(page_style::makeSecondaryLabel({}, fonts::body(), this)),
      pauseButton_(new QPushButton(this)) {
    QVBoxLayout* column = page_style::makePageColumn(*this);
    // Outside the blocks: it concerns every setting on every page.
    column->addWidget(storageProblem_);

    auto* startup = new SettingBlock(translated("Startup"), {}, this);
    startup->addRow(launchAtLogin_);
    startup->addRow(launchAtLoginError_);
    column->addWidget(startup);

    auto* behavior = new SettingBlock(translated("Behavior"), {}, this);
    behavior->addRow(autoSwitch_);
    behavior->addRow(playSound_);
    behavior->addRow(notification_);
    behavior->addRow(menuBarIcon_);
    page_style::addBlock(*column, behavior);

    auto* pause = new SettingBlock(translated("Pause"), {}, this);
    pauseStatus_->setObjectName("pauseStatus");
    pauseButton_->setObjectName("pauseButton");
    auto* pauseRow = new QHBoxLayout;
    pauseRow->addWidget(pauseStatus_, 1);
    pauseRow->addWidget(pauseButton_);
    pause->addRow(pauseRow);
    page_style::addBlock(*column, pause);

    // Toggled, not clicked: the accessibility Toggle action changes the box without a click.
    connect(launchAtLogin_, &QCheckBox::toggled, this, [this](bool on) { settings_.setLaunchAtLogin(on); });
    connect(autoSwitch_, &QCheckBox::toggled, this, [this](bool on) { settings_.isAutoSwitchEnabled.set(on); });
    connect(playSound_, &QCheckBox::toggled, this, [this](bool on) { settings_.playSound.set(on); });
    connect(notification_, &QCheckBox::toggled, this, [this](bool on) { settings_.setNotificationsEnabled(on); });
    connect(menuBarIcon_, &QCheckBox::toggled, this, [this](bool on) { settings_.showMenuBarIcon.set(on); });
    connect(pauseButton_, &QPushButton::clicked, this, [this] { settings_pages::pressPauseButton(settings_); });

    const auto follow = [this](const auto&) { refresh(); };
    subscriptions_.push_back(settings_.launchAtLogin.subscribe(follow));
    subscriptions_.push_back(settings_.launchAtLoginError.subscribe(follow));
    subscriptions_.push_back(settings_.isAutoSwitchEnabled.subscribe(follow));
    subscriptions_.push_back(settings_.playSound.subscribe(follow));
    subscriptions_.push_back(settings_.showNotification.subscribe(follow));
    subscriptions_.push_back(settings_.showMenuBarIcon.subscribe(follow));
    subscriptions_.push_back(settings_.pauseUntil.subscribe(follow));
    // The status is republished every second, which is how an expired pause reaches this page.
    subscriptions_.push_back(state_.operationalStatus().subscribe(follow));
    refresh();
}

void GeneralSettingsView::refresh() {
    const std::optional<std::string> problem = defaults_.problem();
    storageProblem_->setText(problem ? page_style::text(*problem) : QString());
    storageProblem_->setVisible(problem.has_value());

    setChecked(*launchAtLogin_, settings_.launchAtLogin.get());
    const std::optional<std::string>& error = settings_.launchAtLoginError.get();
    launchAtLoginError_->setText(error ? page_style::text(*error) : QString());
    launchAtLoginError_->setVisible(error.has_value());

    setChecked(*autoSwitch_, settings_.isAutoSwitchEnabled.get());
    setChecked(*playSound_, settings_.playSound.get());
    setChecked(*notification_, settings_.showNotification.get());
    setChecked(*menuBarIcon_, settings_.showMenuBarIcon.get());

    pauseStatus_->setText(page_style::text(settings_pages::pauseStatusText(settings_, shortTime)));
    pauseButton_->setText(page_style::text(settings_pages::pauseButtonTitle(settings_)));
    page_style::padButton(*pauseButton_);
}

}  // namespace tarvelo::ui
