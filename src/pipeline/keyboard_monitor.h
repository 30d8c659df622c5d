// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "pipeline/auto_switch_engine.h"
#include "pipeline/boundary_snapshot.h"
#include "pipeline/hot_key_manager.h"
#include "pipeline/pipeline_platform.h"
#include "pipeline/word_buffer.h"
#include "platform/event_tap.h"
#include "services/accessibility_service.h"
#include "services/permission_manager.h"
#include "support/lifetime.h"
#include "support/observable.h"

namespace tarvelo {

// The single entry of typed text. It sees every key-down before the focused application does, keeps the
// current word, hands each closed word to the engine right after its delimiter has passed, and tells the
// engine what every key it passed did to the text. It swallows
// only the presses it acts on (the two shortcuts' chords, Option–Space and Option–Command–Space unless
// the user chose others, and Command–Z while an undo is possible); every other event passes unchanged,
// and the system's own marked events pass unexamined.
class KeyboardMonitor {
public:
    static constexpr double kLastBoundaryLifetime = 12.0;

    KeyboardMonitor(AccessibilityService& accessibility, PermissionManager& permissions, AutoSwitchEngine& engine,
                    const PipelinePlatform& platform);
    // Removes the tap, which must not call a destroyed monitor.
    ~KeyboardMonitor();
    KeyboardMonitor(const KeyboardMonitor&) = delete;
    KeyboardMonitor& operator=(const KeyboardMonitor&) = delete;

    const Observable<bool>& isRunning() const { return isRunning_; }
    const Observable<std::size_t>& currentWordLength() const { return currentWordLength_; }
    const std::optional<BoundarySnapshot>& lastBoundary() const { return lastBoundary_; }

    // Installs the tap when listening is permitted; does nothing while one is installed.
    void start();
    // Removes the tap and forgets the current word; the last closed word stays.
    void stop();
    // Reads both permissions afresh, then stops and starts again.
    void restartIfPossible();

    // The chords the two shortcuts answer to from now on; the tap is told to hold them.
    void setChords(const KeyChord& convertSelection, const KeyChord& convertLastWord);
    // While suspended, the shortcuts' chords are ordinary keys and the tap holds none of them, so that a
    // window recording a new chord receives whatever is pressed. Ctrl+Z's undo is unaffected.
    void suspendShortcuts(bool suspended);

    // Converts the word being typed, else the last closed word.
    void convertLastWord();

    // What the tap calls for each event.
    TapAnswer callback(const KeyEventRecord& event);

private:
    TapAnswer handle(const KeyEventRecord& event);
    void clear();
    // Forgets the current word, and tells the engine that the run of words ends here.
    void breakRun();
    void publishLength();
    // Runs `action` in turn with the words handed to the engine: right after the key has been noted when
    // the tap holds keys, else from the main loop once the key has passed.
    void inTurn(std::function<void()> action);
    void tellTapChords();
    // The shortcut whose chord the press is; of two that match, the one with more modifiers.
    std::optional<Shortcut> shortcutFor(const KeyEventRecord& event) const;

    AccessibilityService& accessibility_;
    PermissionManager& permissions_;
    AutoSwitchEngine& engine_;
    EventTap& eventTap_;
    Workspace& workspace_;
    const Clock& clock_;
    Scheduler& scheduler_;
    bool tapInstalled_ = false;
    bool shortcutsSuspended_ = false;
    KeyChord convertSelectionChord_ = HotKeyManager::defaultChord(Shortcut::convertSelection);
    KeyChord convertLastWordChord_ = HotKeyManager::defaultChord(Shortcut::convertLastWord);
    // What the key being handled does to the focused text, if it passes.
    enum class PassedAs { text, backspace, unknown };
    PassedAs passedAs_ = PassedAs::unknown;
    // A key that is a letter on the other layout (Ж on :, Э on ") stays in a word that may be Russian.
    WordBuffer buffer_{WordBuffer::Splitting::otherLayoutLetters};
    std::optional<BoundarySnapshot> lastBoundary_;
    Observable<bool> isRunning_{false};
    Observable<std::size_t> currentWordLength_{0};
    // What runs once the key being handled has been noted, when the tap holds keys.
    std::vector<std::function<void()>> afterKey_;
    Subscription undoChord_;
    Lifetime lifetime_;
};

}  // namespace tarvelo
