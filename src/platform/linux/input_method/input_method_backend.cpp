// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_method/input_method_backend.h"

#include <variant>

#include "platform/linux/input_method/input_method_selection.h"
#include "support/virtual_keys.h"
#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

// A key that types: printable text with no modifier that makes it a command.
bool types(const KeyEventRecord& record) {
    if (!record.characters || record.characters->empty() || record.keyCode == virtual_key::kDelete) return false;
    if ((record.flags & (modifier_flag::kCommand | modifier_flag::kControl | modifier_flag::kOption)) != 0) return false;
    const char32_t first = text::firstScalar(*record.characters);
    return first >= 0x20 && first != 0x7F;
}

}  // namespace

bool InputMethodBackend::install(Callback callback) {
    callback_ = std::move(callback);
    enabled_ = true;
    return true;
}

void InputMethodBackend::remove() {
    callback_ = nullptr;
    enabled_ = false;
}

bool InputMethodBackend::processKey(InputMethodClient& client, InputMethodLayout layout, std::uint32_t keysym,
                                    std::uint32_t evdevCode, std::uint32_t state, bool release) {
    focused_ = &client;
    layout_ = layout;
    const std::optional<KeyEventRecord> record = inputMethodKeyRecord(keysym, evdevCode, state, release, layout);
    if (!record) return false;
    InputMethodTextField& field = client.field();
    const bool typing = types(*record);
    if (typing) field.hold(*record->characters);
    TapAnswer answer = TapAnswer::pass;
    if (callback_ && enabled_) {
        // A copy: the callback may remove the tap while it runs.
        const Callback callback = callback_;
        handlingKey_ = true;
        answer = callback(*record);
        handlingKey_ = false;
    }
    if (answer == TapAnswer::swallow) {
        if (typing) field.dropHeld();
        return true;
    }
    if (typing) {
        // An edit committed the key with its replacement.
        if (field.finishHeld()) return true;
        // Typed text reaches the client the way the input method's own edits do, so that nothing
        // overtakes them: a key handed back travels apart from the commits (on Wayland as a key event
        // beside the input method's text), and GTK 4 was seen to take it after an edit made later. A
        // password field gets its keys as they are.
        if (!field.isSecure()) {
            client.edits().commit(*record->characters);
            return true;
        }
        // The client's keymap is not the input method's layout (an X11 session with another group): the
        // key types what the layout says.
        if (keysymText(keysym) != *record->characters) {
            client.edits().commit(*record->characters);
            return true;
        }
        return false;
    }
    if (record->keyCode == virtual_key::kDelete &&
        (record->flags & (modifier_flag::kCommand | modifier_flag::kControl | modifier_flag::kOption)) == 0) {
        field.noteBackspace();
    }
    return false;
}

void InputMethodBackend::focusIn(InputMethodClient& client, InputMethodLayout layout) {
    focused_ = &client;
    layout_ = layout;
}

void InputMethodBackend::focusOut(InputMethodClient& client) {
    if (focused_ == &client) focused_ = nullptr;
    // A word left unfinished in one field does not go on in the next.
    if (callback_ && enabled_) {
        KeyEventRecord record;
        record.type = KeyEventRecord::kFocusMoved;
        const Callback callback = callback_;
        callback(record);
    }
}

void InputMethodBackend::destroyed(InputMethodClient& client) {
    if (focused_ == &client) focused_ = nullptr;
}

bool InputMethodBackend::post(const KeyboardEvent& event) {
    if (focused_ == nullptr) return false;
    if (!event.keyDown) return true;
    InputMethodTextField& field = focused_->field();
    if (field.refusesEdits()) return false;
    if (event.keyCode == virtual_key::kDelete) {
        field.deleteBefore(1);
    } else if (!event.unicodeString.empty()) {
        field.insert(text::fromUtf16(event.unicodeString));
    }
    return true;
}

std::shared_ptr<AccessibilityElement> InputMethodBackend::focusedElement() {
    if (focused_ == nullptr) return nullptr;
    return focused_->element();
}

std::shared_ptr<AccessibilityElement> InputMethodBackend::selectionElement() {
    if (focused_ == nullptr) return nullptr;
    const std::shared_ptr<InputMethodTextField>& field = focused_->element();
    if (selectionSource_ == nullptr || handlingKey_ || field->isSecure()) return field;
    const AccessibilityAnswer told = field->copyAttribute("AXSelectedText");
    const std::string* text = told.value ? std::get_if<std::string>(&*told.value) : nullptr;
    if (text != nullptr && !text->empty()) return field;
    std::shared_ptr<AccessibilityElement> shown = selectionSource_->focusedElement();
    if (shown == nullptr) return field;
    return std::make_shared<InputMethodSelection>(field, std::move(shown));
}

std::optional<std::string> InputMethodBackend::selectedKeyboardInputSource() {
    if (!layout_) return std::nullopt;
    return std::string(inputMethodLayoutName(*layout_));
}

}  // namespace tarvelo::desktop
