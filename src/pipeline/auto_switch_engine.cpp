// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/auto_switch_engine.h"

#include <utility>

#include "text/characters.h"

namespace tarvelo {
namespace {

bool isWrongLayout(LanguageClassification classification) {
    return classification == LanguageClassification::wrongEnglishLayoutIntendedRussian ||
           classification == LanguageClassification::wrongRussianLayoutIntendedEnglish;
}

}  // namespace

AutoSwitchEngine::AutoSwitchEngine(SettingsManager& settings, ExceptionManager& exceptions,
                                   ApplicationFilter& applicationFilter, StatisticsManager& statistics,
                                   PermissionManager& permissions, LayoutConverter converter,
                                   const PipelinePlatform& platform)
    : settings_(settings),
      exceptions_(exceptions),
      applicationFilter_(applicationFilter),
      statistics_(statistics),
      permissions_(permissions),
      converter_(std::move(converter)),
      accessibility_(platform.accessibility),
      workspace_(platform.workspace),
      clock_(platform.clock),
      scheduler_(platform.scheduler),
      detector_(converter_, platform.spellChecker, platform.recognizer),
      replacement_(platform.accessibility, platform.keyboardEvents),
      notifications_(platform.sound, platform.notificationCenter, platform.keyLabels.undoInSentence) {}

void AutoSwitchEngine::processBoundary(const BoundarySnapshot& boundary) {
    if (!settings_.isAutoSwitchEnabled.get() || settings_.isPaused()) {
        setStatus("Automatic correction is paused or off");
        return;
    }
    if (!permissions_.hasAccessibility.get() || !permissions_.hasInputMonitoring.get()) {
        setStatus("Permissions are required");
        return;
    }
    if (boundary.bundleIdentifier && applicationFilter_.disabledBundleIdentifiers().get().count(*boundary.bundleIdentifier) != 0) {
        setStatus("Automatic correction is disabled for this app");
        return;
    }
    if (!analyzer_.shouldAnalyze(boundary.word, exceptions_.normalizedWords())) {
        setStatus("Protected or excluded token skipped");
        return;
    }
    const DetectionResult result = detector_.evaluateToken(boundary.word);
    const double margin = result.convertedScore - result.originalScore;
    // A margin that is not a number fails the comparison and never corrects.
    if (!result.direction || !isWrongLayout(result.classification) ||
        !(margin >= requiredMargin(settings_.sensitivity.get()))) {
        setStatus("No layout error detected");
        return;
    }
    replace({boundary.word, result.converted, boundary.delimiter, *result.direction, boundary.bundleIdentifier,
             /*automatic=*/true, boundary.keyCount});
}

bool AutoSwitchEngine::isSafeToRemove(std::string_view expected, std::uint64_t keyCount) {
    switch (accessibility_.textBeforeCaretEnds(expected)) {
        case TextCheck::yes: return true;
        case TextCheck::no: return false;
        // The application cannot show its text, so Backspaces will be counted blind: they may only
        // remove what was typed last, which holds while no other key has reached it.
        case TextCheck::unknown: return passedKeyCount_ == keyCount;
    }
    return false;
}

void AutoSwitchEngine::replace(const Replacement& request) {
    const std::string old = request.original + request.delimiter;
    const std::string typed = request.replacement + request.delimiter;
    if (!isSafeToRemove(old, request.keyCount) || !replacement_.replaceExpectedText(old, typed)) {
        setStatus("Correction could not be sent");
        return;
    }
    std::optional<CorrectionSnapshot> snapshot;
    if (request.automatic) {
        snapshot = CorrectionSnapshot{request.original, request.replacement, request.delimiter, request.direction,
                                      request.bundleIdentifier, clock_.now(), passedKeyCount_};
    }
    setStatus("Correction sent");
    scheduler_.after(kVerificationDelay,
                     lifetime_.guard([this, request, snapshot] { verify(request, snapshot); }));
}

void AutoSwitchEngine::verify(const Replacement& request, const std::optional<CorrectionSnapshot>& snapshot) {
    if (workspace_.frontmostApplicationIdentifier() != request.bundleIdentifier) {
        lastCorrection_.set(std::nullopt);
        setStatus("Correction sent; result unverified");
        return;
    }
    if (accessibility_.textBeforeCaretEnds(request.replacement + request.delimiter) != TextCheck::yes) {
        if (request.automatic) lastCorrection_.set(std::nullopt);
        setStatus("Correction sent; result unverified");
        return;
    }
    if (snapshot) {
        lastCorrection_.set(snapshot);
        const double timestamp = snapshot->timestamp;
        scheduler_.after(kUndoLifetime, lifetime_.guard([this, timestamp] {
            if (lastCorrection_.get() && lastCorrection_.get()->timestamp == timestamp) lastCorrection_.set(std::nullopt);
        }));
    }
    statistics_.recordCorrection(request.direction);
    notifications_.correctionCompleted(settings_);
    setStatus(request.automatic ? "Last word corrected" : "Text converted");
}

void AutoSwitchEngine::convertSelection() {
    if (!permissions_.hasAccessibility.get()) {
        setStatus("Accessibility permission is required");
        return;
    }
    setStatus(replacement_.convertSelection(converter_) ? "Selection converted" : "Select text to convert");
}

void AutoSwitchEngine::convertLastWord(const std::optional<BoundarySnapshot>& boundary) {
    // An age that is not a number is not below the limit either.
    if (!boundary || !(clock_.now() - boundary->timestamp < kRecentWordLifetime) ||
        applicationFilter_.isDisabled(boundary->bundleIdentifier)) {
        setStatus("No recent word to convert");
        return;
    }
    const std::optional<ConvertedText> converted = converter_.convertAutomatically(boundary->word);
    if (!converted || converted->text == boundary->word) {
        setStatus("No recent word to convert");
        return;
    }
    replace({boundary->word, converted->text, boundary->delimiter, converted->direction, boundary->bundleIdentifier,
             /*automatic=*/false, boundary->keyCount});
}

void AutoSwitchEngine::convertCurrentWord(std::string_view word, const std::optional<std::string>& bundleIdentifier) {
    if (word.empty()) return;
    const std::optional<ConvertedText> converted = converter_.convertAutomatically(word);
    if (!converted || converted->text == word) return;
    // The word's keys have just reached the application; the shortcut that asks for this did not.
    replace({std::string(word), converted->text, "", converted->direction, bundleIdentifier, /*automatic=*/false,
             passedKeyCount_});
}

bool AutoSwitchEngine::canUndo(const std::optional<std::string>& bundleIdentifier) const {
    const std::optional<CorrectionSnapshot>& correction = lastCorrection_.get();
    return correction && clock_.now() - correction->timestamp < kUndoLifetime &&
           correction->bundleIdentifier == bundleIdentifier;
}

void AutoSwitchEngine::undoLastCorrection() {
    if (!lastCorrection_.get() || !canUndo(workspace_.frontmostApplicationIdentifier())) return;
    const CorrectionSnapshot correction = *lastCorrection_.get();
    const std::string converted = correction.replacement + correction.delimiter;
    if (!isSafeToRemove(converted, correction.keyCount) ||
        !replacement_.replaceExpectedText(converted, correction.original + correction.delimiter)) {
        setStatus("Undo could not be sent");
        return;
    }
    exceptions_.add(correction.original);
    statistics_.recordUndo();
    lastCorrection_.set(std::nullopt);
    setStatus("Correction undone");
}

}  // namespace tarvelo
