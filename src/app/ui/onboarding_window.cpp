// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/onboarding_window.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/correction_example_view.h"
#include "app/ui/fonts.h"
#include "app/ui/heading_label.h"
#include "app/ui/input_source_offer_row.h"
#include "app/ui/palette.h"
#include "app/ui/permission_row.h"
#include "app/ui/qt_text.h"
#include "app/ui/symbols.h"
#include "app/ui/tarvelo_icon.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {
namespace {

constexpr int kEdgePadding = 24;
constexpr int kStepPadding = 42;
constexpr int kStepSpacing = 18;
constexpr int kWelcomeSymbolSize = 58;
constexpr int kReadySymbolSize = 54;
constexpr int kBrandSymbolSize = 16;

QLabel* makeLabel(const QString& content, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(content, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

QLabel* makeSymbolLabel(int size, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFixedSize(size, size);
    return label;
}

void setSymbol(QLabel& label, std::string_view systemImage, const QColor& tint) {
    label.setPixmap(symbolIcon(systemImage, tint).pixmap(label.size(), label.devicePixelRatioF()));
}

void setTextColor(QWidget& widget, const QColor& color) {
    QPalette colours = widget.palette();
    colours.setColor(QPalette::WindowText, color);
    widget.setPalette(colours);
}

QVBoxLayout* makeStepColumn(QWidget& step) {
    auto* column = new QVBoxLayout(&step);
    column->setContentsMargins(kStepPadding, kStepPadding, kStepPadding, kStepPadding);
    column->setSpacing(kStepSpacing);
    return column;
}

}  // namespace

OnboardingWindow::OnboardingWindow(DesktopContext& context, QWidget* parent)
    : QWidget(parent), context_(context), flow_(context.state, context.defaults, context.keyLabels, [this] { hide(); }) {
    setObjectName(QStringLiteral("onboardingWindow"));
    setWindowTitle(translated("Welcome to Tarvelo"));
    setWindowIcon(TarveloIcon::icon());
    setFixedSize(kWidth, kHeight);

    steps_ = new QStackedWidget(this);
    steps_->setObjectName(QStringLiteral("steps"));
    steps_->addWidget(makeWelcomeStep());
    steps_->addWidget(makePermissionsStep());
    steps_->addWidget(makeReadyStep());

    const auto makeDivider = [this] {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::NoFrame);
        line->setFixedHeight(1);
        line->setAutoFillBackground(true);
        dividers_.push_back(line);
        return line;
    };
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(makeHeader());
    column->addWidget(makeDivider());
    column->addWidget(steps_, 1);
    column->addWidget(makeDivider());
    column->addWidget(makeFooter());

    // Return finishes the step wherever the focus is, as the default button of the window.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this] { primary(); });
    }

    PermissionManager& permissions = context_.state.permissions;
    subscriptions_.push_back(permissions.hasAccessibility.subscribe([this](const bool&) { refreshPermissions(); }));
    subscriptions_.push_back(permissions.hasInputMonitoring.subscribe([this](const bool&) { refreshPermissions(); }));

    refreshColours();
    refreshPermissions();
    showStep(false);
}

OnboardingWindow::~OnboardingWindow() = default;

QWidget* OnboardingWindow::makeHeader() {
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("header"));
    brandSymbol_ = makeSymbolLabel(kBrandSymbolSize, header);
    auto* name = makeLabel(QStringLiteral("Tarvelo"), fonts::headline(), header);
    name->setWordWrap(false);
    counter_ = makeLabel({}, fonts::headline(), header);
    counter_->setObjectName(QStringLiteral("counter"));
    counter_->setWordWrap(false);
    secondaryLabels_.push_back(counter_);

    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(kEdgePadding, kEdgePadding, kEdgePadding, kEdgePadding);
    row->setSpacing(7);
    row->addWidget(brandSymbol_);
    row->addWidget(name);
    row->addStretch(1);
    row->addWidget(counter_);
    return header;
}

QWidget* OnboardingWindow::makeFooter() {
    auto* footer = new QWidget(this);
    footer->setObjectName(QStringLiteral("footer"));
    backButton_ = new QPushButton(translated("Back"), footer);
    backButton_->setObjectName(QStringLiteral("backButton"));
    backButton_->setMinimumWidth(96);
    primaryButton_ = new QPushButton(footer);
    primaryButton_->setObjectName(QStringLiteral("primaryButton"));
    primaryButton_->setDefault(true);
    primaryButton_->setMinimumWidth(120);
    connect(backButton_, &QPushButton::clicked, this, [this] { back(); });
    connect(primaryButton_, &QPushButton::clicked, this, [this] { primary(); });

    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(kEdgePadding, kEdgePadding, kEdgePadding, kEdgePadding);
    row->addWidget(backButton_);
    row->addStretch(1);
    row->addWidget(primaryButton_);
    return footer;
}

QWidget* OnboardingWindow::makeWelcomeStep() {
    auto* step = new QWidget;
    step->setObjectName(QStringLiteral("welcomeStep"));
    welcomeSymbol_ = makeSymbolLabel(kWelcomeSymbolSize, step);
    auto* heading = new HeadingLabel(translated("Type in the right language,\neven when the layout is wrong"), step);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setFont(fonts::sized(30, QFont::DemiBold));
    headings_.push_back(heading);
    auto* body = makeLabel(translated("Tarvelo recognizes high-confidence layout mistakes like \u201cghbdtn\u201d and "
                                      "replaces them locally with \u201c\u043f\u0440\u0438\u0432\u0435\u0442\u201d. "
                                      "Your typing is never uploaded or saved."),
                           fonts::body(), step);
    secondaryLabels_.push_back(body);
    auto* example = new CorrectionExampleView(step);
    example->setObjectName(QStringLiteral("correctionExample"));

    QVBoxLayout* column = makeStepColumn(*step);
    column->addWidget(welcomeSymbol_);
    column->addWidget(heading);
    column->addWidget(body);
    column->addWidget(example);
    column->addStretch(1);
    return step;
}

QWidget* OnboardingWindow::makePermissionsStep() {
    auto* step = new QWidget;
    step->setObjectName(QStringLiteral("permissionsStep"));
    auto* heading = new HeadingLabel(translated(context_.keyLabels.accessHeading), step);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setFont(fonts::sized(fonts::title().pixelSize(), QFont::Bold));
    heading->setWordWrap(true);
    headings_.push_back(heading);

    PermissionManager& permissions = context_.state.permissions;
    const KeyLabels& words = context_.keyLabels;
    accessibilityRow_ = new PermissionRow(translated("Accessibility"),
                                          translated("Allows Tarvelo to replace a confirmed wrong-layout word."),
                                          translated(words.openAccessibilitySettings),
                                          [&permissions] { permissions.requestAccessibility(); }, step);
    accessibilityRow_->setObjectName(QStringLiteral("accessibilityRow"));
    inputMonitoringRow_ = new PermissionRow(
        translated(words.inputAccessTitle),
        translated("Keeps only the current or most recent word in memory and clears it within 12 seconds."),
        words.openInputAccessSettings.empty() ? QString() : translated(words.openInputAccessSettings),
        [&permissions] { permissions.requestInputMonitoring(); }, step);
    inputMonitoringRow_->setObjectName(QStringLiteral("inputMonitoringRow"));
    auto* note = makeLabel(translated(words.accessNote),
                           fonts::callout(), step);
    secondaryLabels_.push_back(note);

    QVBoxLayout* column = makeStepColumn(*step);
    column->addWidget(heading);
    column->addSpacing(4);
    column->addWidget(accessibilityRow_);
    column->addWidget(inputMonitoringRow_);
    column->addSpacing(4);
    column->addWidget(note);
    if (context_.gnomeInputSources) {
        column->addSpacing(4);
        column->addWidget(
            new InputSourceOfferRow(*context_.gnomeInputSources, InputSourceOfferRow::Form::compact, step));
    }
    if (context_.plasmaWithoutFcitx5) {
        auto* plasma = makeLabel(text(settings_pages::plasmaSetupSteps()), fonts::callout(), step);
        plasma->setObjectName(QStringLiteral("plasmaSetup"));
        column->addSpacing(4);
        column->addWidget(plasma);
    }
    column->addStretch(1);
    return step;
}

QWidget* OnboardingWindow::makeReadyStep() {
    auto* step = new QWidget;
    step->setObjectName(QStringLiteral("readyStep"));
    readySymbol_ = makeSymbolLabel(kReadySymbolSize, step);
    readySymbol_->setObjectName(QStringLiteral("readySymbol"));
    readyHeading_ = new HeadingLabel({}, step);
    readyHeading_->setObjectName(QStringLiteral("heading"));
    readyHeading_->setFont(fonts::sized(fonts::title().pixelSize(), QFont::Bold));
    readyHeading_->setWordWrap(true);
    headings_.push_back(readyHeading_);
    readyText_ = makeLabel({}, fonts::body(), step);
    readyText_->setObjectName(QStringLiteral("readyText"));

    QVBoxLayout* column = makeStepColumn(*step);
    column->addWidget(readySymbol_);
    column->addWidget(readyHeading_);
    column->addWidget(readyText_);
    column->addStretch(1);
    return step;
}

void OnboardingWindow::back() {
    flow_.back();
    showStep(true);
}

void OnboardingWindow::primary() {
    const int before = flow_.step();
    flow_.primary();
    if (flow_.step() != before) showStep(true);
}

void OnboardingWindow::showStep(bool moveFocus) {
    const int step = flow_.step();
    steps_->setCurrentIndex(step);
    counter_->setText(text(flow_.counterText()));
    backButton_->setVisible(flow_.showsBack());
    primaryButton_->setText(text(flow_.primaryTitle()));
    if (!moveFocus) return;
    // On the next turn of the event loop, once the new step is laid out and visible.
    HeadingLabel* heading = headings_[static_cast<std::size_t>(step)];
    QTimer::singleShot(0, heading, [heading] { heading->setFocus(Qt::OtherFocusReason); });
}

void OnboardingWindow::refreshPermissions() {
    accessibilityRow_->setGranted(context_.state.permissions.hasAccessibility.get());
    inputMonitoringRow_->setGranted(context_.state.permissions.hasInputMonitoring.get());

    const OnboardingReadiness readiness = flow_.readiness();
    setSymbol(*readySymbol_, readiness.systemImage, readiness.ready ? palette::good() : window_colors::warningText(palette()));
    readyHeading_->setText(text(readiness.heading));
    readyText_->setText(text(readiness.text));
}

void OnboardingWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refreshColours();
}

void OnboardingWindow::refreshColours() {
    const QPalette colours = palette();
    const QColor accent = window_colors::accentTint(colours);
    setSymbol(*brandSymbol_, "character.cursor.ibeam", accent);
    setSymbol(*welcomeSymbol_, "character.cursor.ibeam", accent);
    for (QLabel* label : secondaryLabels_) setTextColor(*label, window_colors::secondary(colours));
    for (QWidget* line : dividers_) {
        QPalette lineColours = line->palette();
        lineColours.setColor(QPalette::Window, window_colors::divider(colours));
        line->setPalette(lineColours);
    }
    // The prominent button: filled with the accent, its text in the colour that contrasts with it.
    const QColor label = accent.lightnessF() > 0.6 ? QColor(0x1c, 0x1a, 0x24) : QColor(Qt::white);
    primaryButton_->setStyleSheet(
        QStringLiteral("QPushButton#primaryButton { background-color: %1; color: %2; border: 1px solid %1;"
                       " border-radius: 6px; padding: 6px 18px; font-weight: 600; }"
                       "QPushButton#primaryButton:hover { background-color: %3; border-color: %3; }"
                       "QPushButton#primaryButton:pressed { background-color: %4; border-color: %4; }"
                       "QPushButton#primaryButton:focus { border: 1px solid %2; }")
            .arg(accent.name(), label.name(), accent.lighter(112).name(), accent.darker(115).name()));
    backButton_->setMinimumHeight(primaryButton_->sizeHint().height());
}

}  // namespace tarvelo::ui
