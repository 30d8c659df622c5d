// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_tap.h"
#include "platform/fake/fake_desktop.h"
#include "platform/keyboard_events.h"
#include "platform/keyboard_freeze.h"

namespace tarvelo {

// The keyboard of the pretend desktop. The user's keys and the events the system posts both go through
// the installed tap first, as on a real desktop (posted events carry their user data); an event the tap
// passes reaches the focused text element, which types or deletes as an application would.
//
// Two things of a real desktop can be played out: while the keyboard is frozen the user's keys wait and
// arrive, in order, when it thaws; and an application may lag, holding the keys that reached it until
// catchUp().
class FakeKeyboard final : public EventTap, public KeyboardEvents, public KeyboardFreeze {
public:
    explicit FakeKeyboard(FakeDesktop& desktop) : desktop_(desktop) {}

    // While the keyboard holds keys, as an input method does, a key's text is in the field before the tap
    // is called, and a key pressed while the tap handles another waits until the tap has answered.
    void setHoldsKeys(bool holds) { holdsKeys_ = holds; }
    bool holdsKeys() const override { return holdsKeys_; }

    // The user's keys. Each answers what the tap did with the key (pass without a tap).
    TapAnswer press(const KeyEventRecord& event);
    // One key per character, each giving that character with no modifiers.
    void type(std::string_view text);
    TapAnswer pressDelete();
    TapAnswer pressChord(std::uint16_t keyCode, std::uint64_t flags, std::optional<std::string> characters = std::nullopt);
    // The system disables the tap (a slow callback or user input) and says so through the callback.
    TapAnswer disableTap(std::uint32_t reason = KeyEventRecord::kTapDisabledByTimeout);
    // The backend says that the focus moved to another field.
    void moveFocus();

    // The tap as the monitor sees it.
    void setInstallFails(bool fails) { installFails_ = fails; }
    bool isInstalled() const { return static_cast<bool>(callback_); }
    bool isEnabled() const { return enabled_; }
    std::size_t installCount() const { return installCount_; }

    // Everything posted, in order, key-ups included.
    const std::vector<KeyboardEvent>& posted() const { return posted_; }
    // The `n`-th post from now on (1 is the next) cannot be created; the others are.
    void failOnPost(std::size_t n);

    bool undoChordWanted() const { return undoChordWanted_; }
    // The shortcuts' chords as the monitor last listed them.
    const std::vector<KeyChord>& chords() const { return chords_; }

    // The freeze as the engine sees it.
    void setFreezeFails(bool fails) { freezeFails_ = fails; }
    bool isFrozen() const { return frozen_; }
    std::size_t freezeCount() const { return freezeCount_; }
    // Keys pressed while frozen, not yet delivered.
    std::size_t heldKeyCount() const { return held_.size(); }

    // While the application lags, the keys the tap passed (and the events posted after them) wait in
    // its queue: the tap has seen them, the field does not show them yet.
    void setApplicationLags(bool lags);
    // The application handles every key waiting in its queue.
    void catchUp();
    std::size_t lagCount() const { return lagging_.size(); }

    bool install(Callback callback) override;
    void enable() override;
    void remove() override;
    bool post(const KeyboardEvent& event) override;
    void setUndoChordWanted(bool wanted) override { undoChordWanted_ = wanted; }
    void setChords(const std::vector<KeyChord>& chords) override { chords_ = chords; }
    bool freeze() override;
    void thaw() override;

private:
    TapAnswer deliver(const KeyEventRecord& event);
    TapAnswer pressHolding(const KeyEventRecord& event);
    void apply(const KeyEventRecord& event);
    void applyPosted(const KeyboardEvent& event);
    // Hands an action to the application: at once, or behind the keys it has not handled yet.
    void toApplication(std::function<void()> action);

    FakeDesktop& desktop_;
    Callback callback_;
    bool enabled_ = false;
    bool installFails_ = false;
    std::size_t installCount_ = 0;
    std::vector<KeyboardEvent> posted_;
    std::optional<std::size_t> failAtPost_;
    bool undoChordWanted_ = false;
    std::vector<KeyChord> chords_;
    bool freezeFails_ = false;
    bool frozen_ = false;
    std::size_t freezeCount_ = 0;
    std::deque<KeyEventRecord> held_;
    bool lags_ = false;
    std::deque<std::function<void()>> lagging_;
    bool holdsKeys_ = false;
    bool handling_ = false;
    std::deque<KeyEventRecord> waiting_;
};

}  // namespace tarvelo
