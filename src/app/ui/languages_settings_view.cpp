// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/languages_settings_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/fonts.h"
#include "app/ui/language_badge.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"

namespace tarvelo::ui {

LanguagesSettingsView::LanguagesSettingsView(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* column = page_style::makePageColumn(*this);

    auto* pair = new SettingBlock(translated("Enabled layout pair"), {}, this);
    auto* badges = new QHBoxLayout;
    badges->setSpacing(14);
    badges->addWidget(new LanguageBadge("EN", translated("English QWERTY"), this));
    badges->addWidget(page_style::makeSymbol("arrow.left.arrow.right", page_style::secondary(palette()), 18, this));
    badges->addWidget(new LanguageBadge("RU", translated("Russian ЙЦУКЕН"), this));
    badges->addStretch(1);
    pair->addRow(badges);
    page_style::addBlock(*column, pair);

    auto* characters = new SettingBlock(translated("Character handling"),
                                        translated("Conversion follows physical key positions and preserves "
                                                   "lowercase, uppercase, Shift punctuation, and Caps Lock output."),
                                        this);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(12);
    for (const char* line : {"qwerty → йцукен", "QWERTY → ЙЦУКЕН", "[];’,./ → хъжэбю."}) {
        lines->addWidget(page_style::makeLabel(QString::fromUtf8(line), fonts::monospaced(13), this));
    }
    characters->addRow(lines);
    page_style::addBlock(*column, characters);
}

}  // namespace tarvelo::ui
