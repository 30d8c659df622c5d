// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_pages.h"

#include <algorithm>
#include <cmath>

#include "support/translation.h"

namespace tarvelo::settings_pages {

std::string pauseStatusText(const SettingsManager& settings,
                            const std::function<std::string(double)>& formatShortTime) {
    if (!settings.isPaused()) return i18n::tr("Automatic correction is active");
    const auto& until = settings.pauseUntil.get();
    if (!until) return i18n::tr("Paused until later");
    return i18n::format(i18n::tr("Paused until {time}"), {{"time", formatShortTime(*until)}});
}

std::string pauseButtonTitle(const SettingsManager& settings) {
    return i18n::tr(settings.isPaused() ? "Resume" : "Pause for 5 Minutes");
}

void pressPauseButton(SettingsManager& settings) {
    if (settings.isPaused()) {
        settings.resume();
    } else {
        settings.pause();
    }
}

std::string thresholdText(double sensitivity) {
    // A hair of tolerance, so that a stored 0.58 (57.999... in binary) reads 58%, not 57%, while any
    // value short of 0.66 still reads 65%.
    const double percent = std::trunc(sensitivity * 100.0 + 1e-9);
    return i18n::format(i18n::tr("Current threshold: {percent}%"),
                        {{"percent", std::to_string(static_cast<long long>(percent))}});
}

bool canAddException(std::string_view newWord) {
    return newWord.find_first_not_of(" \t") != std::string_view::npos;
}

std::vector<std::string> customExclusions(const std::set<std::string>& disabledBundleIdentifiers,
                                          const std::vector<KnownApplication>& knownApplications) {
    std::vector<std::string> custom;
    for (const std::string& identifier : disabledBundleIdentifiers) {
        const bool known = std::any_of(knownApplications.begin(), knownApplications.end(),
                                       [&](const KnownApplication& app) { return app.bundleIdentifier == identifier; });
        if (!known) custom.push_back(identifier);
    }
    return custom;  // A std::set is already in ascending order.
}

bool canExclude(const ApplicationFilter& filter, std::string_view bundleIdentifier) {
    return filter.canAdd(bundleIdentifier);
}

bool isHealthy(OperationalStatus status) { return status == OperationalStatus::active; }

std::vector<std::string> desktopLimitations(bool waylandSession, const std::vector<std::string>& unavailableChords) {
    std::vector<std::string> lines;
    if (waylandSession) {
        lines.push_back(
            i18n::tr("This is a Wayland session. Tarvelo works through X11 here, so it sees and corrects only the "
                     "programs that run under XWayland."));
    }
    for (const std::string& chord : unavailableChords) {
        lines.push_back(i18n::format(i18n::tr("{chord} is held by another program, often the window manager, so "
                                              "Tarvelo cannot use it. The same command is in Tarvelo\u2019s menu."),
                                     {{"chord", chord}}));
    }
    return lines;
}

std::string keyboardBackendDescription(KeyboardSource source) {
    switch (source) {
        case KeyboardSource::ibus:
            return i18n::tr("Tarvelo is your input method (IBus): it sees the keys typed with English (Tarvelo) or "
                            "Russian (Tarvelo) selected, and edits the text through IBus.");
        case KeyboardSource::fcitx5:
            return i18n::tr("Tarvelo works inside your input method (fcitx5): its module hands Tarvelo the keys "
                            "typed with the English (US) or Russian keyboard selected, and Tarvelo edits the text "
                            "through fcitx5.");
        case KeyboardSource::x11:
            break;
    }
    return i18n::tr("Tarvelo reads the keys from the X server and edits the text through the accessibility bus.");
}

std::string inputMethodAbsent(KeyboardSource source) {
    if (source == KeyboardSource::fcitx5) {
        return i18n::tr("fcitx5 is not running, so no keys reach Tarvelo. Start it, or choose it in your "
                        "desktop\u2019s settings; Tarvelo is called as soon as it runs.");
    }
    return i18n::tr("IBus is not running, so no keys reach Tarvelo. Start it, or choose it as the input method "
                    "in your desktop\u2019s settings; Tarvelo offers its input sources as soon as it runs.");
}

std::string plasmaSetupSteps() {
    return i18n::tr("On KDE Plasma, Tarvelo works through fcitx5. Once: in System Settings, choose Fcitx 5 under "
                    "Keyboard \u2192 Virtual Keyboard, and keep Keyboard - English (US) and Keyboard - Russian "
                    "as its input methods; then quit Tarvelo and start it again.");
}

std::string chordLabel(Shortcut shortcut, const KeyChord& chord, const KeyLabels& labels) {
    if (chord == HotKeyManager::defaultChord(shortcut)) return std::string(keyLabel(shortcut, labels));
    return key_chord::format(chord);
}

std::string chordRefusalText(ChordRefusal refusal, const KeyChord& chord, Shortcut other) {
    const std::string name = key_chord::format(chord);
    switch (refusal) {
        case ChordRefusal::unknownKey:
            return i18n::tr("This key cannot be part of a shortcut. Use Space, a letter, a digit or F1 to F12.");
        case ChordRefusal::needsModifier:
            return i18n::format(i18n::tr("{chord} would take a key away from typing. Hold Ctrl, Alt or Super "
                                         "with it; only F1 to F12 work alone."),
                                {{"chord", name}});
        case ChordRefusal::undoChord:
            return i18n::format(i18n::tr("{chord} undoes the latest correction. Choose another shortcut."),
                                {{"chord", name}});
        case ChordRefusal::otherShortcut:
            return i18n::format(i18n::tr("{chord} is already the shortcut for \u201c{command}\u201d. Choose "
                                         "another shortcut."),
                                {{"chord", name}, {"command", i18n::tr(std::string(title(other)).c_str())}});
    }
    return {};
}

std::string chordHeldText(const KeyChord& chord) {
    return i18n::format(i18n::tr("{chord} is held by another program, so Tarvelo cannot use it. The shortcut "
                                 "stays as it was; choose another."),
                        {{"chord", key_chord::format(chord)}});
}

StatisticsSummary summarize(const StatisticsManager& statistics) {
    const DailyStatistics today = statistics.today();
    const DailyStatistics week = statistics.thisWeek();
    return {today.englishToRussian + today.russianToEnglish, week.englishToRussian + week.russianToEnglish,
            week.englishToRussian, week.russianToEnglish, week.undoCount};
}

}  // namespace tarvelo::settings_pages
