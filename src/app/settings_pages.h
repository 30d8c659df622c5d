// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/operational_status.h"
#include "pipeline/hot_key_manager.h"
#include "platform/key_labels.h"
#include "store/application_filter.h"
#include "store/known_application.h"
#include "store/settings_manager.h"
#include "store/statistics_manager.h"

// What the settings pages show for a given state, and when their buttons may submit. The views render
// these and write straight into the managers. The texts are in the user's language.
namespace tarvelo::settings_pages {

// General: the pause block. `formatShortTime` renders a moment as a time of day in the user's short
// style. "Paused until 14:05", "Paused until later" without a stored end, or "Automatic correction is
// active".
std::string pauseStatusText(const SettingsManager& settings, const std::function<std::string(double)>& formatShortTime);
// "Resume" while paused, else "Pause for 5 Minutes"; pressing it does what it says.
std::string pauseButtonTitle(const SettingsManager& settings);
void pressPauseButton(SettingsManager& settings);

// Auto Switch: "Current threshold: 65%", the sensitivity in whole percent, truncated.
std::string thresholdText(double sensitivity);

// Exceptions: "Add" is enabled while the word is not blank once spaces and tabs are trimmed.
bool canAddException(std::string_view newWord);

// Applications: the excluded identifiers that name no known application, in ascending order.
std::vector<std::string> customExclusions(const std::set<std::string>& disabledBundleIdentifiers,
                                          const std::vector<KnownApplication>& knownApplications);
// "Exclude" is enabled while the filter would take the text: with a full stop in it where identifiers
// always have one; not blank on a desktop whose window classes mostly have none ("konsole").
bool canExclude(const ApplicationFilter& filter, std::string_view bundleIdentifier);

// Privacy: the status row is green only while everything works.
bool isHealthy(OperationalStatus status);
// Plain words about what this desktop keeps from Tarvelo, one sentence each: a Wayland session, and
// shortcuts that another program holds.
std::vector<std::string> desktopLimitations(bool waylandSession, const std::vector<std::string>& unavailableChords);
// Where Tarvelo takes the keys from.
enum class KeyboardSource { x11, ibus, fcitx5 };
// Privacy: where Tarvelo takes the keys from, in one sentence: the IBus input method, fcitx5's module, or
// the X server.
std::string keyboardBackendDescription(KeyboardSource source);
// Privacy, while the input method Tarvelo works through does not run: no keys reach Tarvelo.
std::string inputMethodAbsent(KeyboardSource source);
// Privacy, on KDE Plasma while fcitx5 is not Tarvelo's source of keys: what the user does once.
std::string plasmaSetupSteps();

// Hotkeys: the shortcut's chord as its key cap shows it: the desktop's own label while it is the
// default, else the chord's name ("Ctrl+Shift+Space").
std::string chordLabel(Shortcut shortcut, const KeyChord& chord, const KeyLabels& labels);
// Why a recorded chord was not taken, as one sentence that names the chord and, for a chord the other
// shortcut has, that shortcut.
std::string chordRefusalText(ChordRefusal refusal, const KeyChord& chord, Shortcut other);
// A recorded chord that another program holds, so Tarvelo could not claim it and kept the old one.
std::string chordHeldText(const KeyChord& chord);

// Statistics: the figures of the page; undos are not part of the totals.
struct StatisticsSummary {
    std::int64_t today = 0;
    std::int64_t thisWeek = 0;
    std::int64_t englishToRussianThisWeek = 0;
    std::int64_t russianToEnglishThisWeek = 0;
    std::int64_t undoneThisWeek = 0;

    friend bool operator==(const StatisticsSummary&, const StatisticsSummary&) = default;
};
StatisticsSummary summarize(const StatisticsManager& statistics);

}  // namespace tarvelo::settings_pages
