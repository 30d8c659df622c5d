// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/conversion_direction.h"
#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "analysis/word_analyzer.h"
#include "pipeline/boundary_snapshot.h"
#include "pipeline/correction_snapshot.h"
#include "pipeline/pipeline_platform.h"
#include "services/notification_service.h"
#include "services/permission_manager.h"
#include "services/text_replacement_service.h"
#include "store/application_filter.h"
#include "store/exception_manager.h"
#include "store/settings_manager.h"
#include "store/statistics_manager.h"
#include "support/lifetime.h"
#include "support/observable.h"

namespace tarvelo {

// Decides for every closed word whether it was typed on the wrong layout, replaces it in the focused
// application, reads the result back 0.12 s later and keeps a confirmed correction for undo for 8 s.
// Also carries out the user's commands: Convert Selected Text, Convert Last Word and Undo Last
// Correction. Only text changes: the active layout is never switched.
//
// Nothing is ever deleted that the user did not type as the word: before a replacement removes text,
// the text before the caret must read as the expected word and delimiter; where the application cannot
// say, the replacement goes ahead only when no key has reached the application since.
class AutoSwitchEngine {
public:
    static constexpr double kMarginSlope = 2.8;
    static constexpr double kMarginBase = 1.6;
    static constexpr double kVerificationDelay = 0.12;
    static constexpr double kUndoLifetime = 8.0;
    static constexpr double kRecentWordLifetime = 12.0;

    AutoSwitchEngine(SettingsManager& settings, ExceptionManager& exceptions, ApplicationFilter& applicationFilter,
                     StatisticsManager& statistics, PermissionManager& permissions, LayoutConverter converter,
                     const PipelinePlatform& platform);
    AutoSwitchEngine(const AutoSwitchEngine&) = delete;
    AutoSwitchEngine& operator=(const AutoSwitchEngine&) = delete;

    // The last automatic correction confirmed in place, while it can still be undone.
    const Observable<std::optional<CorrectionSnapshot>>& lastCorrection() const { return lastCorrection_; }
    // The outcome of the latest operation, in fixed English words ("Last word corrected", ...).
    const Observable<std::string>& statusMessage() const { return statusMessage_; }

    // The smallest winning margin that corrects at `sensitivity`.
    static double requiredMargin(double sensitivity) { return kMarginSlope * sensitivity + kMarginBase; }

    // A word the keyboard monitor closed 0.08 s ago.
    void processBoundary(const BoundarySnapshot& boundary);

    void convertSelection();
    // The monitor's last closed word, if it is younger than 12 s and was not typed in an excluded application.
    void convertLastWord(const std::optional<BoundarySnapshot>& boundary);
    // The word still being typed, just before the caret.
    void convertCurrentWord(std::string_view word, const std::optional<std::string>& bundleIdentifier);
    bool canUndo(const std::optional<std::string>& bundleIdentifier) const;
    void undoLastCorrection();

    // The keyboard monitor counts every key it lets through to the focused application.
    void noteKeyPassed() { ++passedKeyCount_; }
    std::uint64_t passedKeyCount() const { return passedKeyCount_; }

    const LayoutConverter& converter() const { return converter_; }

private:
    struct Replacement {
        std::string original;
        std::string replacement;
        std::string delimiter;
        ConversionDirection direction = ConversionDirection::englishToRussian;
        std::optional<std::string> bundleIdentifier;
        bool automatic = false;
        std::uint64_t keyCount = 0;  // keys that had reached the application when the original was complete
    };

    void replace(const Replacement& request);
    void verify(const Replacement& request, const std::optional<CorrectionSnapshot>& snapshot);
    // Whether `expected` is what the user last typed, so that removing it removes nothing else.
    bool isSafeToRemove(std::string_view expected, std::uint64_t keyCount);
    void setStatus(std::string_view message) { statusMessage_.set(std::string(message)); }

    SettingsManager& settings_;
    ExceptionManager& exceptions_;
    ApplicationFilter& applicationFilter_;
    StatisticsManager& statistics_;
    PermissionManager& permissions_;
    LayoutConverter converter_;
    AccessibilityService& accessibility_;
    Workspace& workspace_;
    const Clock& clock_;
    Scheduler& scheduler_;
    WordAnalyzer analyzer_;
    LanguageDetector detector_;
    TextReplacementService replacement_;
    NotificationService notifications_;
    Observable<std::optional<CorrectionSnapshot>> lastCorrection_;
    Observable<std::string> statusMessage_{"Ready"};
    std::uint64_t passedKeyCount_ = 0;
    Lifetime lifetime_;
};

}  // namespace tarvelo
