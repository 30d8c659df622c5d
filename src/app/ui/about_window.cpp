// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/about_window.h"

#include <utility>

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

#include "app/ui/close_shortcuts.h"
#include "app/ui/fonts.h"
#include "app/ui/heading_label.h"
#include "app/ui/palette.h"
#include "app/ui/qt_text.h"
#include "app/ui/tarvelo_icon.h"
#include "app/ui/website_link_button.h"
#include "build_info.h"

namespace tarvelo::ui {
namespace {

constexpr int kSidePadding = 36;
constexpr int kLogoSize = 144;

QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, static_cast<float>(opacity)); }

// The window's own dark colours, set on every role a child might read, so that the desktop's light
// palette cannot show through.
QPalette darkPalette() {
    QPalette colours;
    const QColor background = palette::aboutBackground();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Window, background);
        colours.setColor(group, QPalette::Base, background.lighter(140));
        colours.setColor(group, QPalette::AlternateBase, background.lighter(160));
        colours.setColor(group, QPalette::Button, background.lighter(180));
        colours.setColor(group, QPalette::WindowText, Qt::white);
        colours.setColor(group, QPalette::Text, Qt::white);
        colours.setColor(group, QPalette::ButtonText, Qt::white);
        colours.setColor(group, QPalette::BrightText, Qt::white);
        colours.setColor(group, QPalette::PlaceholderText, palette::muted());
        colours.setColor(group, QPalette::Highlight, palette::lavender());
        colours.setColor(group, QPalette::HighlightedText, Qt::black);
        colours.setColor(group, QPalette::Link, palette::lavender());
        colours.setColor(group, QPalette::ToolTipBase, background.lighter(180));
        colours.setColor(group, QPalette::ToolTipText, Qt::white);
    }
    return colours;
}

QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, color);
    label->setPalette(colours);
    return label;
}

}  // namespace

QUrl AboutWindow::website() { return QUrl(QStringLiteral("https://brinmoor.dev/tarvelo")); }

QString AboutWindow::websiteAccessibleName() {
    return translated("Visit Brinmoor\u2019s website, brinmoor.dev");
}

void AboutWindow::openInBrowser(const QUrl& url) { QDesktopServices::openUrl(url); }

AboutWindow::AboutWindow(std::function<void(const QUrl&)> openUrl, QWidget* parent)
    : QWidget(parent), openUrl_(std::move(openUrl)) {
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(translated("About Tarvelo"));
    setWindowIcon(TarveloIcon::icon());
    setFixedSize(kWidth, kHeight);
    setPalette(darkPalette());
    setAutoFillBackground(true);

    auto* logo = new TarveloIcon(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setFixedSize(kLogoSize, kLogoSize);
    auto* name = new HeadingLabel(QStringLiteral("Tarvelo"), this);
    name->setObjectName(QStringLiteral("name"));
    name->setFont(fonts::sized(32, QFont::Bold));
    name->setFocusPolicy(Qt::NoFocus);
    auto* tagline = makeLabel(translated("Keep your typing\nin the right language."), fonts::sized(17, QFont::DemiBold),
                              Qt::white, this);
    tagline->setObjectName(QStringLiteral("tagline"));

    auto* titles = new QVBoxLayout;
    titles->setSpacing(10);
    titles->addStretch(1);
    titles->addWidget(name);
    titles->addWidget(tagline);
    titles->addStretch(1);
    auto* header = new QHBoxLayout;
    header->setSpacing(28);
    header->addWidget(logo);
    header->addLayout(titles, 1);

    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(16);
    facts->setVerticalSpacing(8);
    const auto addFact = [this, facts](int row, const QString& caption, const QString& value) {
        facts->addWidget(makeLabel(caption, fonts::sized(13), palette::muted(), this), row, 0);
        facts->addWidget(makeLabel(value, fonts::sized(13, QFont::Medium), white(0.86), this), row, 1);
    };
    addFact(0, translated("Developer"), QStringLiteral("Brinmoor"));
    addFact(1, translated("Requires"), translated("Linux with an X11 session"));
    addFact(2, translated("Version"), text(build::version));
    addFact(3, translated("License"), translated("GNU GPL 3.0 or later"));
    facts->setColumnStretch(1, 1);

    auto* link = new WebsiteLinkButton(QStringLiteral("brinmoor.dev"), palette::lavender(), palette::muted(), this);
    link->setObjectName(QStringLiteral("websiteLink"));
    link->setAccessibleName(websiteAccessibleName());
    link->setToolTip(website().toString());
    // The link is the one control, so it has the focus from the start.
    link->setFocus(Qt::OtherFocusReason);
    addCloseShortcuts(*this);
    connect(link, &QAbstractButton::clicked, this, [this] {
        if (openUrl_) openUrl_(website());
    });

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::NoFrame);
    separator->setFixedHeight(1);
    separator->setAutoFillBackground(true);
    QPalette separatorColours = separator->palette();
    separatorColours.setColor(QPalette::Window, white(0.1));
    separator->setPalette(separatorColours);

    auto* notice = makeLabel(translated("\u00a9 2026 Brinmoor. Your typing stays on this computer."),
                             fonts::sized(12, QFont::Medium), palette::muted(), this);
    notice->setObjectName(QStringLiteral("notice"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kSidePadding, 0, kSidePadding, 0);
    column->setSpacing(0);
    column->addStretch(3);
    column->addLayout(header);
    column->addSpacing(34);
    column->addLayout(facts);
    column->addSpacing(28);
    column->addWidget(link);
    column->addSpacing(30);
    column->addWidget(separator);
    column->addSpacing(16);
    column->addWidget(notice);
    column->addStretch(2);
}

}  // namespace tarvelo::ui
