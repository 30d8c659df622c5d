// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/window_presenter.h"
#include "platform/key_labels.h"

namespace tarvelo {

// What each item of the status icon's menu does.
enum class MenuCommand {
    toggleAutoSwitch,
    resume,
    pause,
    convertSelection,
    convertLastWord,
    undoLastCorrection,
    showSettings,
    showAbout,
    quit,
};

// One line of the menu: an item, or a separator (no command).
struct MenuItem {
    std::optional<MenuCommand> command;
    // In the user's language.
    std::string title;
    // The key equivalent as the desktop names it; empty for none.
    std::string shortcut;
    // The symbol's name, empty for none.
    std::string systemImage;
    bool checkable = false;
    bool checked = false;

    bool isSeparator() const { return !command.has_value(); }
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

// The status icon's pull-down menu: its items for the current state, and their actions. Built afresh
// whenever it is shown or a value it reads changes; it keeps nothing of its own. No item is ever
// disabled: a command that cannot run answers through the engine's status.
class MenuBarContent {
public:
    MenuBarContent(AppState& state, WindowPresenter& windows, KeyLabels keyLabels, std::function<void()> quit);
    MenuBarContent(const MenuBarContent&) = delete;
    MenuBarContent& operator=(const MenuBarContent&) = delete;

    std::vector<MenuItem> items() const;
    void perform(MenuCommand command);

private:
    AppState& state_;
    WindowPresenter& windows_;
    KeyLabels keyLabels_;
    std::function<void()> quit_;
};

}  // namespace tarvelo
