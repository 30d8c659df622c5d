// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/menu_bar_content.h"

#include <utility>

#include "app/settings_pages.h"
#include "support/translation.h"

namespace tarvelo {

MenuBarContent::MenuBarContent(AppState& state, WindowPresenter& windows, KeyLabels keyLabels,
                               std::function<void()> quit)
    : state_(state), windows_(windows), keyLabels_(std::move(keyLabels)), quit_(std::move(quit)) {}

std::vector<MenuItem> MenuBarContent::items() const {
    const SettingsManager& settings = state_.settings;
    std::vector<MenuItem> items;
    const auto add = [&items](MenuCommand command, const char* title, std::string shortcut = {},
                              std::string systemImage = {}) {
        MenuItem item;
        item.command = command;
        item.title = i18n::tr(title);
        item.shortcut = std::move(shortcut);
        item.systemImage = std::move(systemImage);
        items.push_back(std::move(item));
    };
    const auto separator = [&items] { items.push_back(MenuItem{}); };

    add(MenuCommand::toggleAutoSwitch, "Auto Switch");
    items.back().checkable = true;
    items.back().checked = settings.isAutoSwitchEnabled.get();
    if (settings.isPaused()) {
        add(MenuCommand::resume, "Resume Auto Switch");
    } else {
        add(MenuCommand::pause, "Pause for 5 Minutes");
    }
    separator();
    add(MenuCommand::convertSelection, "Convert Selected Text",
        settings_pages::chordLabel(Shortcut::convertSelection, settings.convertSelectionChord.get(), keyLabels_));
    add(MenuCommand::convertLastWord, "Convert Last Word",
        settings_pages::chordLabel(Shortcut::convertLastWord, settings.convertLastWordChord.get(), keyLabels_));
    if (state_.engine.lastCorrection().get()) {
        add(MenuCommand::undoLastCorrection, "Undo Last Correction", keyLabels_.undo, "arrow.uturn.backward");
    }
    separator();
    add(MenuCommand::showSettings, "Settings\u2026");
    separator();
    add(MenuCommand::showAbout, "About Tarvelo");
    add(MenuCommand::quit, "Quit Tarvelo", keyLabels_.quit);
    return items;
}

void MenuBarContent::perform(MenuCommand command) {
    SettingsManager& settings = state_.settings;
    switch (command) {
        case MenuCommand::toggleAutoSwitch: settings.isAutoSwitchEnabled.set(!settings.isAutoSwitchEnabled.get()); break;
        case MenuCommand::resume: settings.resume(); break;
        case MenuCommand::pause: settings.pause(); break;
        case MenuCommand::convertSelection: state_.engine.convertSelection(); break;
        case MenuCommand::convertLastWord: state_.keyboardMonitor.convertLastWord(); break;
        case MenuCommand::undoLastCorrection: state_.engine.undoLastCorrection(); break;
        case MenuCommand::showSettings: windows_.show(AppWindow::settings); break;
        case MenuCommand::showAbout: windows_.show(AppWindow::about); break;
        case MenuCommand::quit: quit_(); break;
    }
}

}  // namespace tarvelo
