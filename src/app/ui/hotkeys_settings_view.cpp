// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/hotkeys_settings_view.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/settings_pages.h"
#include "app/ui/chord_recorder.h"
#include "app/ui/fonts.h"
#include "app/ui/key_cap.h"
#include "app/ui/palette.h"
#include "app/ui/setting_block.h"
#include "app/ui/settings_page_style.h"
#include "app/ui/symbol_label.h"
#include "app/ui/window_colors.h"

namespace tarvelo::ui {
namespace {

bool isUnavailable(const DesktopContext& context, const std::string& chord) {
    const std::vector<std::string> unavailable = context.unavailableChords();
    return std::find(unavailable.begin(), unavailable.end(), chord) != unavailable.end();
}

SymbolLabel* makeWarning(const char* objectName, SettingBlock& block) {
    auto* warning = new SymbolLabel("exclamationmark.triangle", {}, fonts::callout(),
                                    window_colors::warningText(block.palette()), &block);
    warning->setObjectName(objectName);
    warning->setWordWrap(true);
    warning->hide();
    block.addRow(warning);
    return warning;
}

}  // namespace

HotkeysSettingsView::HotkeysSettingsView(DesktopContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    QVBoxLayout* column = page_style::makePageColumn(*this);

    auto* global = new SettingBlock(translated("Global shortcuts"), translated(context.keyLabels.hotkeysDetail), this);
    rows_.reserve(context.state.hotkeys.shortcuts().size());
    for (const Shortcut shortcut : context.state.hotkeys.shortcuts()) addShortcutRow(*global, shortcut);
    page_style::addBlock(*column, global);

    auto* undo = new SettingBlock(translated("Undo"), {}, this);
    auto* row = new QWidget(undo);
    row->setObjectName("shortcutRow");
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 4, 0, 4);
    line->addWidget(page_style::makeLabel(translated("Undo the latest automatic correction"), fonts::body(), row), 1);
    line->addWidget(new KeyCap(page_style::text(context.keyLabels.undo), row));
    undo->addRow(row);
    if (isUnavailable(context, key_chord::format(kUndoChord))) {
        SymbolLabel* warning = makeWarning("chordUnavailable", *undo);
        warning->setText(page_style::text(settings_pages::desktopLimitations(false, {key_chord::format(kUndoChord)}).front()));
        warning->show();
    }
    QLabel* rule = page_style::makeSecondaryLabel(
        translated("Undo is handled only for the latest correction, in the same app, for eight seconds. The "
                   "original token is then learned as an exception."),
        fonts::callout(), undo);
    rule->setWordWrap(true);
    undo->addRow(rule);
    page_style::addBlock(*column, undo);

    for (const Shortcut shortcut : context.state.hotkeys.shortcuts()) {
        subscriptions_.push_back(context.state.hotkeys.chord(shortcut).subscribe([this](const KeyChord&) { refresh(); }));
    }
    refresh();
}

HotkeysSettingsView::~HotkeysSettingsView() {
    // A page closed while recording gives the shortcuts back.
    for (const ShortcutRow& row : rows_) {
        if (row.recorder->isRecording()) context_.state.keyboardMonitor.suspendShortcuts(false);
    }
}

// The command's name on the left and its key cap on the right; under them the buttons that change it,
// then the warnings.
void HotkeysSettingsView::addShortcutRow(SettingBlock& block, Shortcut shortcut) {
    const QString name = translated(title(shortcut));
    auto* row = new QWidget(&block);
    row->setObjectName("shortcutRow");
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 4, 0, 4);
    line->addWidget(page_style::makeLabel(name, fonts::body(), row), 1);
    ShortcutRow parts;
    parts.shortcut = shortcut;
    parts.keyCap = new KeyCap({}, row);
    line->addWidget(parts.keyCap);
    block.addRow(row);
    // The buttons on a line of their own, so that long names in other languages keep their room.
    auto* buttons = new QHBoxLayout();
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    parts.recorder = new ChordRecorder(name, &block);
    buttons->addWidget(parts.recorder);
    parts.reset = new QPushButton(translated("Reset to Default"), &block);
    parts.reset->setObjectName("chordReset");
    parts.reset->setAccessibleName(translated("Reset {command} to its default shortcut", {{"command", name.toStdString()}}));
    buttons->addWidget(parts.reset);
    block.addRow(buttons);
    parts.unavailable = makeWarning("chordUnavailable", block);
    parts.refused = makeWarning("chordRefused", block);
    rows_.push_back(parts);

    const std::size_t index = rows_.size() - 1;
    rows_[index].recorder->onRecordingChanged = [this, index](bool recording) {
        context_.state.keyboardMonitor.suspendShortcuts(recording);
        // A new attempt: the last one's refusal no longer applies, on either row.
        if (recording) {
            for (ShortcutRow& each : rows_) each.refused->hide();
        }
    };
    rows_[index].recorder->onRecorded = [this, index](const std::optional<KeyChord>& chord) { take(rows_[index], chord); };
    const auto reset = [this, index] { take(rows_[index], HotKeyManager::defaultChord(rows_[index].shortcut)); };
    rows_[index].recorder->onResetRequested = reset;
    connect(rows_[index].reset, &QPushButton::clicked, this, reset);
}

void HotkeysSettingsView::take(ShortcutRow& row, const std::optional<KeyChord>& chord) {
    HotKeyManager& hotkeys = context_.state.hotkeys;
    std::optional<std::string> reason;
    if (!chord) {
        reason = settings_pages::chordRefusalText(ChordRefusal::unknownKey, {}, row.shortcut);
    } else {
        const Shortcut other = row.shortcut == Shortcut::convertSelection ? Shortcut::convertLastWord
                                                                          : Shortcut::convertSelection;
        const KeyChord previous = hotkeys.chord(row.shortcut).get();
        if (const auto refusal = hotkeys.setChord(row.shortcut, *chord)) {
            reason = settings_pages::chordRefusalText(*refusal, *chord, other);
        } else if (*chord != previous && isUnavailable(context_, key_chord::format(*chord))) {
            // The tap has just tried to claim it, and another program had it first.
            hotkeys.setChord(row.shortcut, previous);
            reason = settings_pages::chordHeldText(*chord);
        }
    }
    row.refused->setText(reason ? page_style::text(*reason) : QString());
    row.refused->setVisible(reason.has_value());
}

void HotkeysSettingsView::refresh() {
    for (ShortcutRow& row : rows_) {
        const KeyChord chord = context_.state.hotkeys.chord(row.shortcut).get();
        const QString label = page_style::text(settings_pages::chordLabel(row.shortcut, chord, context_.keyLabels));
        row.keyCap->setText(label);
        row.keyCap->setAccessibleName(label);
        row.reset->setEnabled(chord != HotKeyManager::defaultChord(row.shortcut));
        const std::string name = key_chord::format(chord);
        const bool unavailable = isUnavailable(context_, name);
        if (unavailable) {
            row.unavailable->setText(page_style::text(settings_pages::desktopLimitations(false, {name}).front()));
        }
        row.unavailable->setVisible(unavailable);
    }
}

}  // namespace tarvelo::ui
