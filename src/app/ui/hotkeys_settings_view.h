// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <vector>

#include <QWidget>

#include "app/ui/desktop_context.h"
#include "support/subscription.h"

class QPushButton;

namespace tarvelo::ui {

class ChordRecorder;
class KeyCap;
class SymbolLabel;

// The Hotkeys page: the two global shortcuts with their key caps, a button that records a new chord for
// each and one that restores its default, and Undo's fixed chord. Under a chord that another program
// holds, a warning says so; under a recorded chord that was not taken, why not.
class HotkeysSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit HotkeysSettingsView(DesktopContext& context, QWidget* parent = nullptr);
    ~HotkeysSettingsView() override;

private:
    struct ShortcutRow {
        Shortcut shortcut = Shortcut::convertSelection;
        KeyCap* keyCap = nullptr;
        ChordRecorder* recorder = nullptr;
        QPushButton* reset = nullptr;
        SymbolLabel* unavailable = nullptr;
        SymbolLabel* refused = nullptr;
    };

    void addShortcutRow(class SettingBlock& block, Shortcut shortcut);
    // Stores the chord unless it is refused or another program holds it; says which on the row.
    void take(ShortcutRow& row, const std::optional<KeyChord>& chord);
    void refresh();

    DesktopContext& context_;
    std::vector<ShortcutRow> rows_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace tarvelo::ui
