// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/hotkeys_settings_view.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/fonts.h"
#include "app/ui/key_cap.h"
#include "app/ui/palette.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/symbol_label.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {
namespace {

// The command's name on the left, its key cap on the right, and under them the warning when another
// program holds the chord.
void addShortcutRow(SettingBlock& block, const QString& name, const std::string& chord,
                    const std::vector<std::string>& unavailableChords) {
    auto* row = new QWidget(&block);
    row->setObjectName("shortcutRow");
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 4, 0, 4);
    line->addWidget(page_style::makeLabel(name, fonts::body(), row), 1);
    line->addWidget(new KeyCap(page_style::text(chord), row));
    block.addRow(row);

    if (std::find(unavailableChords.begin(), unavailableChords.end(), chord) == unavailableChords.end()) return;
    for (const std::string& sentence : settings_pages::desktopLimitations(false, {chord})) {
        auto* warning = new SymbolLabel("exclamationmark.triangle", page_style::text(sentence), fonts::callout(),
                                        window_colors::warningText(block.palette()), &block);
        warning->setObjectName("chordUnavailable");
        warning->setWordWrap(true);
        block.addRow(warning);
    }
}

}  // namespace

HotkeysSettingsView::HotkeysSettingsView(DesktopContext& context, QWidget* parent) : QWidget(parent) {
    QVBoxLayout* column = page_style::makePageColumn(*this);
    const std::vector<std::string> unavailable = context.unavailableChords();

    auto* global = new SettingBlock(translated("Global shortcuts"), translated(context.keyLabels.hotkeysDetail), this);
    for (const Shortcut shortcut : context.state.hotkeys.shortcuts()) {
        addShortcutRow(*global, translated(title(shortcut)), std::string(keyLabel(shortcut, context.keyLabels)),
                       unavailable);
    }
    page_style::addBlock(*column, global);

    auto* undo = new SettingBlock(translated("Undo"), {}, this);
    addShortcutRow(*undo, translated("Undo the latest automatic correction"), context.keyLabels.undo, unavailable);
    QLabel* rule = page_style::makeSecondaryLabel(
        translated("Undo is handled only for the latest correction, in the same app, for eight seconds. The "
                   "original token is then learned as an exception."),
        fonts::callout(), undo);
    rule->setWordWrap(true);
    undo->addRow(rule);
    page_style::addBlock(*column, undo);
}

}  // namespace tarvelo::ui
