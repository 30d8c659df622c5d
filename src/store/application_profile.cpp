// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/application_profile.h"

namespace tarvelo {
namespace {

constexpr std::string_view kCodeSymbol = "chevron.left.forwardslash.chevron.right";

}  // namespace

bool ApplicationProfile::acceptsIdentifier(std::string_view identifier) const {
    if (identifiersContainFullStop) return identifier.find('.') != std::string_view::npos;
    return !identifier.empty();
}

ApplicationProfile macApplicationProfile() {
    return {
        .knownApplications =
            {
                {"Terminal", "com.apple.Terminal", "terminal"},
                {"iTerm2", "com.googlecode.iterm2", "terminal.fill"},
                {"Xcode", "com.apple.dt.Xcode", "hammer"},
                {"Visual Studio Code", "com.microsoft.VSCode", std::string(kCodeSymbol)},
                {"PyCharm", "com.jetbrains.pycharm", std::string(kCodeSymbol)},
            },
        .excludedByDefault = {"com.apple.Terminal", "com.googlecode.iterm2"},
        .developmentEnvironments = {"com.apple.dt.Xcode", "com.microsoft.VSCode", "com.jetbrains.pycharm"},
        .identifiersContainFullStop = true,
    };
}

ApplicationProfile linuxApplicationProfile() {
    return {
        .knownApplications =
            {
                // GNOME Terminal sets _GTK_APPLICATION_ID; the others are known by their WM_CLASS class.
                {"GNOME Terminal", "org.gnome.Terminal", "terminal"},
                {"Konsole", "konsole", "terminal.fill"},
                {"xterm", "XTerm", "terminal"},
                {"Visual Studio Code", "Code", std::string(kCodeSymbol)},
                {"PyCharm", "jetbrains-pycharm", std::string(kCodeSymbol)},
            },
        .excludedByDefault = {"org.gnome.Terminal", "konsole", "XTerm"},
        .developmentEnvironments = {"Code", "jetbrains-pycharm"},
        .identifiersContainFullStop = false,
    };
}

}  // namespace tarvelo
