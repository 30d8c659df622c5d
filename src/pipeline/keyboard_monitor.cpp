// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/keyboard_monitor.h"

#include <bit>
#include <string>
#include <utility>

namespace tarvelo {

KeyboardMonitor::KeyboardMonitor(AccessibilityService& accessibility, PermissionManager& permissions,
                                 AutoSwitchEngine& engine, const PipelinePlatform& platform)
    : accessibility_(accessibility),
      permissions_(permissions),
      engine_(engine),
      eventTap_(platform.eventTap),
      workspace_(platform.workspace),
      clock_(platform.clock),
      scheduler_(platform.scheduler) {
    // Command–Z is the application's own key except while a correction can be undone.
    undoChord_ = engine_.lastCorrection().subscribe(
        [this](const std::optional<CorrectionSnapshot>& correction) { eventTap_.setUndoChordWanted(correction.has_value()); });
    tellTapChords();
}

void KeyboardMonitor::setChords(const KeyChord& convertSelection, const KeyChord& convertLastWord) {
    convertSelectionChord_ = convertSelection;
    convertLastWordChord_ = convertLastWord;
    tellTapChords();
}

void KeyboardMonitor::suspendShortcuts(bool suspended) {
    shortcutsSuspended_ = suspended;
    tellTapChords();
}

void KeyboardMonitor::tellTapChords() {
    if (shortcutsSuspended_) {
        eventTap_.setChords({});
    } else {
        eventTap_.setChords({convertSelectionChord_, convertLastWordChord_});
    }
}

std::optional<Shortcut> KeyboardMonitor::shortcutFor(const KeyEventRecord& event) const {
    if (shortcutsSuspended_) return std::nullopt;
    const bool selection = key_chord::matches(convertSelectionChord_, event.keyCode, event.flags);
    const bool lastWord = key_chord::matches(convertLastWordChord_, event.keyCode, event.flags);
    if (selection && lastWord) {
        // Alt+Space and Alt+Shift+Space: the press with Shift is the chord that names it.
        const auto held = [&](const KeyChord& chord) { return std::popcount(chord.modifiers); };
        return held(convertLastWordChord_) > held(convertSelectionChord_) ? Shortcut::convertLastWord
                                                                           : Shortcut::convertSelection;
    }
    if (selection) return Shortcut::convertSelection;
    if (lastWord) return Shortcut::convertLastWord;
    return std::nullopt;
}

KeyboardMonitor::~KeyboardMonitor() {
    if (tapInstalled_) eventTap_.remove();
}

void KeyboardMonitor::start() {
    if (tapInstalled_ || !permissions_.hasInputMonitoring.get()) return;
    // The tap refers to the monitor without owning it; the destructor removes it.
    tapInstalled_ = eventTap_.install([this](const KeyEventRecord& event) { return callback(event); });
    isRunning_.set(tapInstalled_);
}

void KeyboardMonitor::stop() {
    if (tapInstalled_) eventTap_.remove();
    tapInstalled_ = false;
    engine_.forgetRecentTyping();
    buffer_.clear();
    currentWordLength_.set(0);
    isRunning_.set(false);
}

void KeyboardMonitor::restartIfPossible() {
    stop();
    permissions_.refresh();
    start();
}

void KeyboardMonitor::clear() {
    buffer_.clear();
    currentWordLength_.set(0);
}

void KeyboardMonitor::breakRun() {
    clear();
    // In turn with the words handed over before it.
    inTurn([this] { engine_.breakRun(); });
}

void KeyboardMonitor::inTurn(std::function<void()> action) {
    if (eventTap_.holdsKeys()) {
        afterKey_.push_back(std::move(action));
    } else {
        scheduler_.after(0.0, lifetime_.guard(std::move(action)));
    }
}

void KeyboardMonitor::publishLength() { currentWordLength_.set(buffer_.characterCount()); }

TapAnswer KeyboardMonitor::callback(const KeyEventRecord& event) {
    if (event.type == KeyEventRecord::kTapDisabledByTimeout || event.type == KeyEventRecord::kTapDisabledByUserInput) {
        if (tapInstalled_) eventTap_.enable();
        return TapAnswer::pass;
    }
    // The system's own Backspaces and typed text never reach the word buffer.
    if (event.userData == kSyntheticEventMarker) return TapAnswer::pass;
    passedAs_ = PassedAs::unknown;
    const TapAnswer answer = handle(event);
    if (answer == TapAnswer::pass && event.type == KeyEventRecord::kKeyDown) {
        switch (passedAs_) {
            case PassedAs::text: engine_.noteTextPassed(*event.characters); break;
            case PassedAs::backspace: engine_.noteBackspacePassed(); break;
            case PassedAs::unknown: engine_.noteUnknownKeyPassed(); break;
        }
    }
    // A tap that holds the key lets the engine decide now, with the key counted and not yet delivered.
    std::vector<std::function<void()>> afterKey;
    afterKey.swap(afterKey_);
    for (const std::function<void()>& action : afterKey) action();
    return answer;
}

TapAnswer KeyboardMonitor::handle(const KeyEventRecord& event) {
    if (event.type == KeyEventRecord::kFocusMoved) {
        breakRun();
        return TapAnswer::pass;
    }
    if (event.type != KeyEventRecord::kKeyDown) return TapAnswer::pass;
    const std::uint64_t flags = event.flags;
    const std::optional<std::string> frontmost = workspace_.frontmostApplicationIdentifier();

    if (const auto shortcut = shortcutFor(event)) {
        if (*shortcut == Shortcut::convertSelection) {
            breakRun();
            if (eventTap_.holdsKeys()) {
                // The application waits for the answer to this key, and may be the one that has to say
                // what is selected: the command runs once the key is answered.
                scheduler_.after(0.0, lifetime_.guard([this] { engine_.convertSelection(); }));
            } else {
                engine_.convertSelection();
            }
        } else {
            convertLastWord();
        }
        return TapAnswer::swallow;
    }
    if ((flags & modifier_flag::kCommand) != 0) {
        // A tap that holds the key can still keep it from the application: the correction typed just
        // now is read back first, so that it can be undone.
        if (event.keyCode == virtual_key::kZ && eventTap_.holdsKeys()) engine_.verifyPendingNow();
        if (event.keyCode == virtual_key::kZ && engine_.canUndo(frontmost)) {
            engine_.undoLastCorrection();
            breakRun();
            return TapAnswer::swallow;
        }
        breakRun();
        return TapAnswer::pass;
    }
    if ((flags & modifier_flag::kControl) != 0) {
        breakRun();
        return TapAnswer::pass;
    }
    if (!permissions_.hasAccessibility.get() || !permissions_.hasInputMonitoring.get() ||
        accessibility_.isSecureInputFocused()) {
        breakRun();
        return TapAnswer::pass;
    }
    if (event.keyCode == virtual_key::kDelete) {
        // A Backspace past the word being typed reaches into the run's words.
        if (buffer_.text().empty() && !buffer_.overflowed()) breakRun();
        buffer_.removeLastCharacter();
        publishLength();
        passedAs_ = PassedAs::backspace;
        return TapAnswer::pass;
    }
    if (!event.characters || event.characters->empty()) {
        breakRun();
        return TapAnswer::pass;
    }
    // With Alt held an application takes most keys for a menu's mnemonic rather than text.
    if ((flags & modifier_flag::kOption) == 0) passedAs_ = PassedAs::text;
    const bool wasEmpty = buffer_.text().empty() && !buffer_.overflowed();
    const bool closes = buffer_.closes(*event.characters);
    std::optional<ClosedWord> closed = buffer_.append(*event.characters);
    if (!closed && closes) {
        if (wasEmpty) {
            // A second space, or punctuation after the delimiter: the gap after the last word grows.
            inTurn([this, key = *event.characters] { engine_.extendRun(key); });
        } else {
            // An over-long word was thrown away: what follows is no longer next to the run's words.
            breakRun();
        }
    } else if (!closed && buffer_.text().empty() && !buffer_.overflowed()) {
        // A composed sequence cleared the word.
        breakRun();
    }
    if (closed) {
        // The delimiter passes on right after this, and is counted then.
        BoundarySnapshot boundary{std::move(closed->word), std::move(closed->delimiter), frontmost, clock_.now(),
                                  engine_.passedKeyCount() + 1};
        lastBoundary_ = boundary;
        const double timestamp = boundary.timestamp;
        scheduler_.after(kLastBoundaryLifetime, lifetime_.guard([this, timestamp] {
            if (lastBoundary_ && lastBoundary_->timestamp == timestamp) lastBoundary_.reset();
        }));
        clear();
        // Right after the delimiter has been passed on; the engine waits until the field shows it. A tap
        // that holds keys shows it already.
        inTurn([this, boundary = std::move(boundary)] { engine_.processBoundary(boundary); });
    }
    publishLength();
    return TapAnswer::pass;
}

void KeyboardMonitor::convertLastWord() {
    if (!buffer_.text().empty()) {
        const std::string word = buffer_.text();
        clear();
        engine_.convertCurrentWord(word, workspace_.frontmostApplicationIdentifier());
        return;
    }
    engine_.convertLastWord(lastBoundary_);
}

}  // namespace tarvelo
