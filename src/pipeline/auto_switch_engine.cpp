// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/auto_switch_engine.h"

#include <algorithm>
#include <utility>

#include "text/case_mapping.h"
#include "text/utf8.h"

namespace tarvelo {

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
      freeze_(platform.keyboardFreeze),
      clock_(platform.clock),
      scheduler_(platform.scheduler),
      inputContext_(platform.inputContext),
      detector_(converter_, platform.spellChecker, platform.recognizer),
      judge_(detector_),
      replacement_(platform.accessibility, platform.keyboardEvents),
      notifications_(platform.sound, platform.notificationCenter, platform.keyLabels.undoInSentence) {}

void AutoSwitchEngine::processBoundary(const BoundarySnapshot& boundary) {
    // A word in another application, or after a long pause, starts a run of its own.
    if (boundary.bundleIdentifier != runApplication_ || !(boundary.timestamp - runTime_ < kRunPause)) run_.clear();
    runApplication_ = boundary.bundleIdentifier;
    runTime_ = boundary.timestamp;
    if (!settings_.isAutoSwitchEnabled.get() || settings_.isPaused()) {
        run_.clear();
        setStatus("Automatic correction is paused or off");
        return;
    }
    if (!permissions_.hasAccessibility.get() || !permissions_.hasInputMonitoring.get()) {
        run_.clear();
        setStatus("Permissions are required");
        return;
    }
    if (boundary.bundleIdentifier && applicationFilter_.disabledBundleIdentifiers().get().count(*boundary.bundleIdentifier) != 0) {
        run_.clear();
        setStatus("Automatic correction is disabled for this app");
        return;
    }
    const ExceptionWords exceptions = exceptions_.normalizedWords();
    std::optional<Replacement> request = judgeInRun(boundary, exceptions);
    if (!request) {
        setStatus(analyzer_.shouldAnalyze(boundary.word, exceptions) ? "No layout error detected"
                                                                     : "Protected or excluded token skipped");
        return;
    }
    replace(std::move(*request));
}

std::optional<AutoSwitchEngine::Replacement> AutoSwitchEngine::judgeInRun(const BoundarySnapshot& boundary,
                                                                         const ExceptionWords& exceptions) {
    const double sensitivity = settings_.sensitivity.get();
    const std::vector<RunWord> before = run_.words();
    RunVerdict verdict = judge_.judge(before, boundary.word, boundary.delimiter, sensitivity, exceptions);
    std::optional<RunDecision> decision = verdict.decision;
    run_.record(std::move(verdict));
    if (!decision) return std::nullopt;

    Replacement request = requestFor(*decision, boundary);
    // The run is what the user typed, not what the field shows: a click elsewhere goes unseen. A
    // decision the run changed is therefore made only where the field still shows the run's words
    // before it; where it shows the word but not them, the word is corrected as it would be alone.
    if (!before.empty()) {
        const std::optional<RunDecision> alone =
            judge_.judge({}, boundary.word, boundary.delimiter, sensitivity, exceptions).decision;
        if (alone != decision) {
            if (before.size() > decision->precedingWords) {
                const RunWord& last = before[before.size() - 1 - decision->precedingWords];
                request.context = last.text + last.gap;
            }
            if (alone) request.fallback = std::make_shared<const Replacement>(requestFor(*alone, boundary));
        }
    }
    return request;
}

AutoSwitchEngine::Replacement AutoSwitchEngine::requestFor(const RunDecision& decision,
                                                           const BoundarySnapshot& boundary) const {
    Replacement request;
    request.direction = decision.direction;
    request.bundleIdentifier = boundary.bundleIdentifier;
    request.purpose = Purpose::correction;
    request.anchor = boundary.keyCount;
    request.mainWord = decision.mainWord;
    request.words = decision.correctedWords();
    request.lastWordOnly = decision.precedingWords == 0;
    // A correction that keeps the closing key is the word and its delimiter; any other is a span.
    const std::string_view delimiter = boundary.delimiter;
    if (!delimiter.empty() && decision.expected.ends_with(delimiter) && decision.replacement.ends_with(delimiter)) {
        request.original = decision.expected.substr(0, decision.expected.size() - delimiter.size());
        request.replacement = decision.replacement.substr(0, decision.replacement.size() - delimiter.size());
        request.delimiter = delimiter;
    } else {
        request.original = decision.expected;
        request.replacement = decision.replacement;
    }
    return request;
}

void AutoSwitchEngine::replace(std::string original, std::string replacement, std::string delimiter,
                               ConversionDirection direction, std::optional<std::string> bundleIdentifier,
                               Purpose purpose, std::uint64_t anchor) {
    Replacement request;
    request.mainWord = original;
    request.original = std::move(original);
    request.replacement = std::move(replacement);
    request.delimiter = std::move(delimiter);
    request.direction = direction;
    request.bundleIdentifier = std::move(bundleIdentifier);
    request.purpose = purpose;
    request.anchor = anchor;
    replace(std::move(request));
}

void AutoSwitchEngine::replace(Replacement request) {
    request.deadline = clock_.now() + kLatestStart;
    attempt(request);
}

void AutoSwitchEngine::attempt(const Replacement& request) {
    const std::string removed = request.context + request.original + request.delimiter;
    const std::string inserted = request.context + request.replacement + request.delimiter;
    // What the user typed after the original text, as the field should show it.
    const std::optional<std::string> after = typing_.textAfter(request.anchor, clock_.now());
    if (!after) {
        refuse(request);
        return;
    }
    TextCheck check = accessibility_.textBeforeCaretEnds(removed + *after);
    if (check == TextCheck::no && request.fallback &&
        accessibility_.textBeforeCaretEnds(request.fallback->original + request.fallback->delimiter + *after) ==
            TextCheck::yes) {
        fallBack(request);
        return;
    }
    if (check == TextCheck::no) {
        if (const std::optional<Replacement> recased = recasedByField(request, *after)) {
            attempt(*recased);
            return;
        }
    }
    // The last try is made frozen whatever the first look said: the freeze brings the monitor up to date
    // with keys the field shows already.
    if (check == TextCheck::no && !(clock_.now() < request.deadline)) check = TextCheck::yes;
    switch (check) {
        case TextCheck::yes:
            switch (editFrozen(request, removed, inserted)) {
                case FrozenEdit::replaced: sent(request); return;
                case FrozenEdit::cannotEdit:
                    // The field showed just the word and its delimiter: Backspaces reach nothing else.
                    if (typing_.textAfter(request.anchor, clock_.now()) == std::string() &&
                        typeOver(request)) {
                        sent(request);
                    } else {
                        refuse(request);
                    }
                    return;
                // The application had not shown the latest keys yet, or the keyboard was taken: again.
                case FrozenEdit::textDiffers:
                case FrozenEdit::notFrozen: break;
            }
            break;
        // The application cannot show its text, so Backspaces will be counted blind.
        // They may only remove what was typed last, which holds while no other key has followed.
        // Nor can it be told whether the words before the last one still stand where they were typed
        // (a click goes unseen): only a correction of the last word alone is made blind.
        case TextCheck::unknown:
            if (request.context.empty() && request.lastWordOnly && typing_.keyCount() == request.anchor &&
                typeOver(request)) {
                sent(request);
            } else {
                refuse(request);
            }
            return;
        // Most often the application has not shown the delimiter yet.
        case TextCheck::no: break;
    }
    if (clock_.now() < request.deadline) {
        scheduler_.after(kRetryInterval, lifetime_.guard([this, request] { attempt(request); }));
        return;
    }
    if (request.fallback) {
        fallBack(request);
        return;
    }
    refuse(request);
}

std::optional<AutoSwitchEngine::Replacement> AutoSwitchEngine::recasedByField(const Replacement& request,
                                                                             const std::string& after) {
    // One word alone: a span or a word judged by its neighbours stays exactly as typed.
    if (request.purpose == Purpose::undo || !request.context.empty() || !request.lastWordOnly || request.fallback) {
        return std::nullopt;
    }
    const std::size_t wordLength = text::utf16Length(request.original);
    const std::optional<std::string> shown =
        accessibility_.textBeforeCaret(wordLength + text::utf16Length(request.delimiter + after));
    if (!shown) return std::nullopt;
    const std::u16string units = text::toUtf16(*shown);
    if (units.size() < wordLength) return std::nullopt;
    const std::string word = text::fromUtf16(std::u16string_view(units).substr(0, wordLength));
    const std::string rest = text::fromUtf16(std::u16string_view(units).substr(wordLength));
    // The same word in another case, and after it exactly what was typed.
    if (word == request.original || text::comparisonKey(word) != text::comparisonKey(request.original) ||
        !fieldShows(rest, request.delimiter + after)) {
        return std::nullopt;
    }
    std::string converted = converter_.convert(word, request.direction);
    if (text::comparisonKey(converted) != text::comparisonKey(request.replacement)) return std::nullopt;
    Replacement recased = request;
    recased.original = word;
    recased.replacement = std::move(converted);
    return recased;
}

void AutoSwitchEngine::fallBack(const Replacement& request) {
    // The words before it are not where the run put them: what follows starts a new run.
    run_.clear();
    Replacement alone = *request.fallback;
    alone.deadline = request.deadline;
    attempt(alone);
}

AutoSwitchEngine::FrozenEdit AutoSwitchEngine::editFrozen(const Replacement& request, const std::string& removed,
                                                          const std::string& inserted) {
    editing_ = true;
    if (!freeze_.freeze()) {
        editing_ = false;
        return FrozenEdit::notFrozen;
    }
    // The freeze has handed over every key that reached the application before it.
    const std::optional<std::string> after = typing_.textAfter(request.anchor, clock_.now());
    FrozenEdit result = FrozenEdit::textDiffers;
    if (after) {
        switch (replacement_.editExpectedText(removed, *after, inserted)) {
            case AccessibilityService::ReplaceOutcome::replaced: result = FrozenEdit::replaced; break;
            case AccessibilityService::ReplaceOutcome::textDiffers: result = FrozenEdit::textDiffers; break;
            case AccessibilityService::ReplaceOutcome::cannotEdit: result = FrozenEdit::cannotEdit; break;
        }
    }
    freeze_.thaw();
    editing_ = false;
    // The context was written back as it stood: the edit that counts is the request's own text.
    if (result == FrozenEdit::replaced) {
        typing_.noteEdit(request.anchor, request.original + request.delimiter, request.replacement + request.delimiter,
                         clock_.now());
    }
    return result;
}

bool AutoSwitchEngine::typeOver(const Replacement& request) {
    // Keys reach only the end of the text: the context before it stays untouched.
    const std::string removed = request.original + request.delimiter;
    const std::string inserted = request.replacement + request.delimiter;
    if (!replacement_.typeOverExpectedText(removed, inserted)) return false;
    typing_.noteEdit(request.anchor, removed, inserted, clock_.now());
    return true;
}

void AutoSwitchEngine::refuse(const Replacement& request) {
    // The run was recorded as if the edit were made: it no longer tells what the field holds.
    run_.clear();
    setStatus(request.purpose == Purpose::undo ? "Undo could not be sent" : "Correction could not be sent");
}

void AutoSwitchEngine::sent(const Replacement& request) {
    // The field no longer reads as the run of words recorded it.
    if (request.purpose != Purpose::correction) run_.clear();
    if (request.purpose == Purpose::undo) {
        exceptions_.add(request.mainWord);
        statistics_.recordUndo();
        lastCorrection_.set(std::nullopt);
        setStatus("Correction undone");
        return;
    }
    std::optional<CorrectionSnapshot> snapshot;
    if (request.purpose == Purpose::correction) {
        snapshot = CorrectionSnapshot{request.original,  request.replacement,      request.delimiter,
                                      request.mainWord,  request.direction,        request.bundleIdentifier,
                                      clock_.now(),      request.anchor};
    }
    setStatus("Correction sent");
    const double sentAt = clock_.now();
    const std::uint64_t turn = ++readBacksScheduled_;
    pendingReadBacks_.emplace_back(turn, [this, request, snapshot, sentAt] {
        verify(request, snapshot, sentAt, kRetryInterval);
    });
    scheduler_.after(kVerificationDelay, lifetime_.guard([this, turn] {
        const auto pending = std::find_if(pendingReadBacks_.begin(), pendingReadBacks_.end(),
                                          [turn](const auto& readBack) { return readBack.first == turn; });
        // Made already, when Ctrl+Z came first.
        if (pending == pendingReadBacks_.end()) return;
        const std::function<void()> readBack = std::move(pending->second);
        pendingReadBacks_.erase(pending);
        readBack();
    }));
}

void AutoSwitchEngine::verifyPendingNow() {
    while (!pendingReadBacks_.empty()) {
        const std::function<void()> readBack = std::move(pendingReadBacks_.front().second);
        pendingReadBacks_.pop_front();
        readBack();
    }
}

void AutoSwitchEngine::verify(const Replacement& request, const std::optional<CorrectionSnapshot>& snapshot,
                              double sentAt, double retryInterval) {
    const bool automatic = request.purpose == Purpose::correction;
    if (workspace_.frontmostApplicationIdentifier() != request.bundleIdentifier) {
        lastCorrection_.set(std::nullopt);
        setStatus("Correction sent; result unverified");
        return;
    }
    // The replacement stands where the word stood, with whatever the user typed since behind it.
    const auto shows = [&](const std::string& text) {
        const std::optional<std::string> after = typing_.textAfter(request.anchor, clock_.now());
        if (!after) return TextCheck::no;
        return accessibility_.textBeforeCaretEnds(text + request.delimiter + *after);
    };
    const auto lookAgain = [&] {
        scheduler_.after(retryInterval, lifetime_.guard([this, request, snapshot, sentAt, retryInterval] {
            verify(request, snapshot, sentAt, retryInterval * 2);
        }));
    };
    TextCheck check = shows(request.replacement);
    if (check == TextCheck::no) {
        // The field and the monitor may be a key apart, either way, while both catch up: look again, less
        // and less often so as not to hold up a busy application, and the last time with the keyboard
        // frozen, which brings the monitor up to date.
        const double start = sentAt + kVerificationDelay;
        if (clock_.now() + retryInterval < start + kVerificationPatience) {
            lookAgain();
            return;
        }
        bool unchanged = false;
        editing_ = true;
        if (freeze_.freeze()) {
            check = shows(request.replacement);
            unchanged = check == TextCheck::no && shows(request.original) == TextCheck::yes;
            freeze_.thaw();
        }
        editing_ = false;
        // An application that shows the edit late is waited for longer.
        if (unchanged && clock_.now() + retryInterval < start + kSlowApplicationPatience) {
            lookAgain();
            return;
        }
    }
    if (check != TextCheck::yes) {
        if (automatic) lastCorrection_.set(std::nullopt);
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
    // A span counts each word it corrected.
    for (std::size_t word = 0; word < request.words; ++word) statistics_.recordCorrection(request.direction);
    notifications_.correctionCompleted(settings_);
    // The rest of the sentence is typed in the corrected word's layout. A desktop without that layout
    // keeps the user's: the correction stands either way.
    if (automatic && settings_.switchLayoutAfterCorrection.get()) {
        inputContext_.selectKeyboardLayout(request.direction == ConversionDirection::englishToRussian
                                               ? KeyboardLayout::russian
                                               : KeyboardLayout::english);
    }
    setStatus(automatic ? "Last word corrected" : "Text converted");
}

bool AutoSwitchEngine::deferWhileEditing(std::function<void()> command) {
    if (!editing_) return false;
    scheduler_.after(0.0, lifetime_.guard(std::move(command)));
    return true;
}

void AutoSwitchEngine::convertSelection() {
    if (deferWhileEditing([this] { convertSelection(); })) return;
    if (!permissions_.hasAccessibility.get()) {
        setStatus("Accessibility permission is required");
        return;
    }
    run_.clear();
    setStatus(replacement_.convertSelection(converter_) ? "Selection converted" : "Select text to convert");
}

void AutoSwitchEngine::convertLastWord(const std::optional<BoundarySnapshot>& boundary) {
    if (deferWhileEditing([this, boundary] { convertLastWord(boundary); })) return;
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
    replace(boundary->word, converted->text, boundary->delimiter, converted->direction, boundary->bundleIdentifier,
            Purpose::conversion, boundary->keyCount);
}

void AutoSwitchEngine::convertCurrentWord(std::string_view word, const std::optional<std::string>& bundleIdentifier) {
    if (deferWhileEditing([this, word = std::string(word), bundleIdentifier] { convertCurrentWord(word, bundleIdentifier); })) {
        return;
    }
    if (word.empty()) return;
    const std::optional<ConvertedText> converted = converter_.convertAutomatically(word);
    if (!converted || converted->text == word) return;
    // The word's last key is the latest that reached the application; the shortcut that asks for this did not.
    replace(std::string(word), converted->text, "", converted->direction, bundleIdentifier, Purpose::conversion,
            typing_.keyCount());
}

bool AutoSwitchEngine::canUndo(const std::optional<std::string>& bundleIdentifier) const {
    const std::optional<CorrectionSnapshot>& correction = lastCorrection_.get();
    const double now = clock_.now();
    // Ctrl+Z stays the application's own when the keys typed since leave the correction's place unknown.
    return correction && now - correction->timestamp < kUndoLifetime && correction->bundleIdentifier == bundleIdentifier &&
           typing_.textAfter(correction->keyCount, now).has_value();
}

void AutoSwitchEngine::undoLastCorrection() {
    if (deferWhileEditing([this] { undoLastCorrection(); })) return;
    if (!lastCorrection_.get() || !canUndo(workspace_.frontmostApplicationIdentifier())) return;
    const CorrectionSnapshot& correction = *lastCorrection_.get();
    Replacement request;
    request.original = correction.replacement;
    request.replacement = correction.original;
    request.delimiter = correction.delimiter;
    request.direction = correction.direction;
    request.bundleIdentifier = correction.bundleIdentifier;
    request.purpose = Purpose::undo;
    request.anchor = correction.keyCount;
    request.mainWord = correction.learnedWord;
    replace(std::move(request));
}

}  // namespace tarvelo
