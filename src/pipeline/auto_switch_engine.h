// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "analysis/conversion_direction.h"
#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "analysis/word_analyzer.h"
#include "pipeline/boundary_snapshot.h"
#include "pipeline/correction_snapshot.h"
#include "pipeline/pipeline_platform.h"
#include "pipeline/recent_typing.h"
#include "pipeline/running_text_judge.h"
#include "pipeline/word_run.h"
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
// Words are judged in their run, the words typed just before them in the same field: a correction may
// take in the short words before the word and the punctuation key that closed it, and is then one
// edit, one read-back and one undo.
// Also carries out the user's commands: Convert Selected Text, Convert Last Word and Undo Last
// Correction. Only text changes: the active layout is left as it is, unless the user has asked for the
// layout of the corrected word to be selected after an automatic correction is confirmed in place.
//
// Nothing is ever deleted that the user did not type as the word, and no key of the user's is lost or
// moved: a replacement starts as soon as the text before the caret reads as the word, its delimiter and
// exactly the keys typed since (at the latest kLatestStart after the word closed), and is made while
// the keyboard is frozen, after reading that text once more. The word is replaced where it stands and
// the caret goes back behind the newer keys. Where the application cannot show its text, the
// replacement is typed, and only while no key has reached the application since the word closed.
class AutoSwitchEngine {
public:
    static constexpr double kMarginSlope = 2.8;
    static constexpr double kMarginBase = 1.6;
    static constexpr double kVerificationDelay = 0.12;
    static constexpr double kUndoLifetime = 8.0;
    static constexpr double kRecentWordLifetime = 12.0;
    // From the key that closed a word to the last attempt to replace it.
    static constexpr double kLatestStart = 0.08;
    // How often the text is looked at until the application shows the word's delimiter.
    static constexpr double kRetryInterval = 0.003;
    // How long after the verification delay a result not yet in place is looked for.
    static constexpr double kVerificationPatience = 0.4;
    // How long after the verification delay an application that still shows the text as it stood before
    // the edit is waited for: a browser's accessibility may show an edit late while it is busy.
    static constexpr double kSlowApplicationPatience = 2.0;
    // A pause this long between two words ends the run: the user may have moved on in between.
    static constexpr double kRunPause = 12.0;

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

    // A word the keyboard monitor has just closed.
    void processBoundary(const BoundarySnapshot& boundary);

    void convertSelection();
    // The monitor's last closed word, if it is younger than 12 s and was not typed in an excluded application.
    void convertLastWord(const std::optional<BoundarySnapshot>& boundary);
    // The word still being typed, just before the caret.
    void convertCurrentWord(std::string_view word, const std::optional<std::string>& bundleIdentifier);
    bool canUndo(const std::optional<std::string>& bundleIdentifier) const;
    void undoLastCorrection();
    // Reads back at once the edits still waiting for their read-back. Where every key waits for
    // Tarvelo's answer, Ctrl+Z can come before it, and must undo the correction rather than reach the
    // application's own undo.
    void verifyPendingNow();

    // The keyboard monitor tells every key it lets through to the focused application: one with this
    // text, a Backspace, or a key whose effect on the text is not known.
    void noteTextPassed(std::string_view text) { typing_.noteText(text, clock_.now()); }
    void noteBackspacePassed() { typing_.noteBackspace(clock_.now()); }
    void noteUnknownKeyPassed() { typing_.noteUnknownKey(clock_.now()); }
    std::uint64_t passedKeyCount() const { return typing_.keyCount(); }
    // Forgets the keys typed lately (the monitor stopped).
    void forgetRecentTyping() {
        typing_.clear();
        run_.clear();
    }

    // The run of words goes on with a boundary key that closed no word (the second of two spaces).
    void extendRun(std::string_view key) { run_.extendGap(key); }
    // The run of words ends: the caret moved, or a key changed the text in a way the run cannot follow.
    void breakRun() { run_.clear(); }

    const LayoutConverter& converter() const { return converter_; }

private:
    enum class Purpose { correction, conversion, undo };
    struct Replacement {
        std::string original;     // what stands in the field: the typed word, or for undo its correction
        std::string replacement;  // what takes its place
        std::string delimiter;
        ConversionDirection direction = ConversionDirection::englishToRussian;
        std::optional<std::string> bundleIdentifier;
        Purpose purpose = Purpose::correction;
        std::uint64_t anchor = 0;  // the key that ended the original text
        double deadline = 0.0;     // the last attempt
        // Text just before the original that must stand there for the replacement to be right: the
        // words the judge read the original in. It is kept as it is.
        std::string context;
        // The word an undo learns as an exception, and how many words the replacement corrects.
        std::string mainWord;
        std::size_t words = 1;
        // The replacement reaches no further back than the last word typed.
        bool lastWordOnly = true;
        // What the word alone becomes, where that differs: made instead when the field does not show
        // the words the run judged it by.
        std::shared_ptr<const Replacement> fallback;
    };
    enum class FrozenEdit { replaced, textDiffers, cannotEdit, notFrozen };

    void replace(std::string original, std::string replacement, std::string delimiter, ConversionDirection direction,
                 std::optional<std::string> bundleIdentifier, Purpose purpose, std::uint64_t anchor);
    void replace(Replacement request);
    // The run's words up to and including `boundary`'s, and what to correct among them.
    std::optional<Replacement> judgeInRun(const BoundarySnapshot& boundary, const ExceptionWords& exceptions);
    Replacement requestFor(const RunDecision& decision, const BoundarySnapshot& boundary) const;
    // Makes the word's correction as it would be alone, instead of `request`.
    void fallBack(const Replacement& request);
    // The request for the word as the field holds it, when the application changed only its case at the
    // boundary (its own autocorrect capitalises a sentence's first word): the field's word, converted.
    std::optional<Replacement> recasedByField(const Replacement& request, const std::string& after);
    // Replaces the text if the field shows it now; else tries again shortly, until the deadline.
    void attempt(const Replacement& request);
    FrozenEdit editFrozen(const Replacement& request, const std::string& removed, const std::string& inserted);
    // Backspaces over the original text and typing of the replacement.
    bool typeOver(const Replacement& request);
    void sent(const Replacement& request);
    void refuse(const Replacement& request);
    // Reads the result back; a text not (yet) in place is looked at again, after `retryInterval` and then
    // twice as long each time, for kVerificationPatience after the verification delay, and for
    // kSlowApplicationPatience while the field still shows the text the edit replaced.
    void verify(const Replacement& request, const std::optional<CorrectionSnapshot>& snapshot, double sentAt,
                double retryInterval);
    // A command that arrives while an edit holds the keyboard (a chord pressed just before) runs after it.
    bool deferWhileEditing(std::function<void()> command);
    void setStatus(std::string_view message) { statusMessage_.set(std::string(message)); }

    SettingsManager& settings_;
    ExceptionManager& exceptions_;
    ApplicationFilter& applicationFilter_;
    StatisticsManager& statistics_;
    PermissionManager& permissions_;
    LayoutConverter converter_;
    AccessibilityService& accessibility_;
    Workspace& workspace_;
    KeyboardFreeze& freeze_;
    const Clock& clock_;
    Scheduler& scheduler_;
    InputContext& inputContext_;
    WordAnalyzer analyzer_;
    LanguageDetector detector_;
    RunningTextJudge judge_;
    WordRun run_;
    std::optional<std::string> runApplication_;
    double runTime_ = 0.0;
    TextReplacementService replacement_;
    NotificationService notifications_;
    Observable<std::optional<CorrectionSnapshot>> lastCorrection_;
    Observable<std::string> statusMessage_{"Ready"};
    RecentTyping typing_;
    bool editing_ = false;
    // The read-backs not made yet, oldest first, each with the number its scheduled turn knows it by.
    std::deque<std::pair<std::uint64_t, std::function<void()>>> pendingReadBacks_;
    std::uint64_t readBacksScheduled_ = 0;
    Lifetime lifetime_;
};

}  // namespace tarvelo
