// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/accessibility_api.h"
#include "platform/event_tap.h"
#include "platform/input_context.h"
#include "platform/keyboard_events.h"
#include "platform/keyboard_freeze.h"
#include "platform/linux/input_method/input_method_keys.h"
#include "platform/linux/input_method/input_method_text_field.h"
#include "platform/trust.h"

namespace tarvelo::desktop {

// One client of the input method (an input context of an application): how its text is edited and what
// is known of that text.
class InputMethodClient {
public:
    explicit InputMethodClient(InputMethodClientEdits& edits)
        : edits_(edits), field_(std::make_shared<InputMethodTextField>(edits)) {}
    InputMethodClient(const InputMethodClient&) = delete;
    InputMethodClient& operator=(const InputMethodClient&) = delete;

    InputMethodClientEdits& edits() { return edits_; }
    InputMethodTextField& field() { return *field_; }
    const std::shared_ptr<InputMethodTextField>& element() const { return field_; }

private:
    InputMethodClientEdits& edits_;
    std::shared_ptr<InputMethodTextField> field_;
};

// Tarvelo as the session's input method, whichever framework hands it the keys (IBus, fcitx5): the
// backend is the key tap (each key, in order, held until the monitor has answered: EventTap::holdsKeys),
// its text (the focused client's surrounding text, see InputMethodTextField), its edits (deletion before
// the caret and commits; the typed Backspaces and text of KeyboardEvents become the same), the selected
// layout (that of the input method in use), and the permissions (granted: an input method is given every
// key by design). The framework's glue tells it of keys, focus and clients; everything else is here, so
// that each framework behaves the same.
// A typed key reaches the client as a commit of its text under the input method's layout, unless the
// monitor swallows it or an edit took it in; in a password field it passes unchanged (committed only
// where the client's keymap gives other text). Other keys pass unchanged. Leaving a client ends the word
// being typed (KeyEventRecord::kFocusMoved).
class InputMethodBackend : public EventTap,
                           public KeyboardEvents,
                           public KeyboardFreeze,
                           public AccessibilityApi,
                           public InputContext,
                           public Trust {
public:
    ~InputMethodBackend() override = default;
    InputMethodBackend(const InputMethodBackend&) = delete;
    InputMethodBackend& operator=(const InputMethodBackend&) = delete;

    // EventTap
    bool install(Callback callback) override;
    void enable() override { enabled_ = true; }
    void remove() override;
    void setUndoChordWanted(bool) override {}
    void setChords(const std::vector<KeyChord>&) override {}
    bool holdsKeys() const override { return true; }
    // KeyboardEvents: Backspace deletes before the caret, typed text is committed.
    bool post(const KeyboardEvent& event) override;
    // KeyboardFreeze: every key waits for the input method's answer anyway.
    bool freeze() override { return true; }
    void thaw() override {}
    // AccessibilityApi: the focused client's text, or nullptr while no client has focus.
    std::shared_ptr<AccessibilityElement> focusedElement() override;
    // The client's own selection where it told of one; else, between keys, the selection the source
    // shows (InputMethodSelection), replaced through the client.
    std::shared_ptr<AccessibilityElement> selectionElement() override;
    // InputContext: "us" or "ru", as the input method in use gives the keys.
    std::optional<std::string> selectedKeyboardInputSource() override;
    // Trust
    bool isAccessibilityTrusted() override { return true; }
    void promptForAccessibility() override {}
    bool preflightListenEventAccess() override { return true; }
    void requestListenEventAccess() override {}

    // What the framework's glue calls. processKey answers whether the key was handled (the client must
    // not see it); `keysym`, `evdevCode` and `state` are as inputMethodKeyRecord takes them.
    bool processKey(InputMethodClient& client, InputMethodLayout layout, std::uint32_t keysym, std::uint32_t evdevCode,
                    std::uint32_t state, bool release);
    void focusIn(InputMethodClient& client, InputMethodLayout layout);
    void focusOut(InputMethodClient& client);
    // The client is gone; it is not used again.
    void destroyed(InputMethodClient& client);

    // Where a selection the client does not tell of can be read (the accessibility bus): asked only
    // between keys, as the application it asks may be waiting for the answer to one.
    void setSelectionSource(AccessibilityApi* source) { selectionSource_ = source; }

protected:
    InputMethodBackend() = default;
    // The layout of the input method in use, once a client had focus.
    std::optional<InputMethodLayout> currentLayout() const { return layout_; }

private:
    InputMethodClient* focused_ = nullptr;
    std::optional<InputMethodLayout> layout_;
    Callback callback_;
    AccessibilityApi* selectionSource_ = nullptr;
    bool enabled_ = false;
    bool handlingKey_ = false;
};

}  // namespace tarvelo::desktop
