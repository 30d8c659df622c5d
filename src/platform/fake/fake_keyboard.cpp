// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_keyboard.h"

#include <array>
#include <memory>
#include <utility>

#include "text/characters.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

// The ANSI virtual key code of each letter key, a to z.
constexpr std::array<std::uint16_t, 26> kLetterKeys = {
    0, 11, 8, 2, 14, 3, 5, 4, 34, 38, 40, 37, 46, 45, 31, 35, 12, 15, 1, 17, 32, 9, 13, 7, 16, 6};
constexpr std::uint16_t kTabKey = 48;
constexpr std::uint16_t kReturnKey = 36;
// Every other character is typed on one key that stands for "some key with text".
constexpr std::uint16_t kOtherKey = 10;

std::uint16_t keyCodeFor(std::string_view character) {
    if (character == " ") return virtual_key::kSpace;
    if (character == "\t") return kTabKey;
    if (character == "\r" || character == "\n" || character == "\r\n") return kReturnKey;
    if (character.size() == 1) {
        const char c = character.front();
        if (c >= 'a' && c <= 'z') return kLetterKeys[static_cast<std::size_t>(c - 'a')];
        if (c >= 'A' && c <= 'Z') return kLetterKeys[static_cast<std::size_t>(c - 'A')];
    }
    return kOtherKey;
}

}  // namespace

TapAnswer FakeKeyboard::press(const KeyEventRecord& event) {
    if (frozen_) {
        // Held at the desktop: neither the tap nor the application has it yet.
        held_.push_back(event);
        return TapAnswer::pass;
    }
    if (holdsKeys_) return pressHolding(event);
    const TapAnswer answer = deliver(event);
    if (answer == TapAnswer::pass && event.type == KeyEventRecord::kKeyDown) {
        toApplication([this, event] { apply(event); });
    }
    return answer;
}

TapAnswer FakeKeyboard::pressHolding(const KeyEventRecord& event) {
    if (handling_) {
        waiting_.push_back(event);
        return TapAnswer::pass;
    }
    handling_ = true;
    const bool typed = event.type == KeyEventRecord::kKeyDown && event.keyCode != virtual_key::kDelete &&
                       event.characters && !event.characters->empty() &&
                       (event.flags & (modifier_flag::kCommand | modifier_flag::kControl | modifier_flag::kOption)) == 0;
    // The held key's text is already part of the field as the tap's text element shows it.
    if (typed) toApplication([this, event] { apply(event); });
    const TapAnswer answer = deliver(event);
    if (answer == TapAnswer::pass && event.type == KeyEventRecord::kKeyDown && !typed) {
        toApplication([this, event] { apply(event); });
    }
    handling_ = false;
    while (!waiting_.empty()) {
        const KeyEventRecord next = waiting_.front();
        waiting_.pop_front();
        press(next);
    }
    return answer;
}

bool FakeKeyboard::freeze() {
    if (freezeFails_) return false;
    frozen_ = true;
    ++freezeCount_;
    return true;
}

void FakeKeyboard::thaw() {
    frozen_ = false;
    // Taken out first: a key delivered now may start another freeze.
    std::deque<KeyEventRecord> held;
    held.swap(held_);
    for (const KeyEventRecord& event : held) press(event);
}

void FakeKeyboard::setApplicationLags(bool lags) {
    lags_ = lags;
    if (!lags_) catchUp();
}

void FakeKeyboard::catchUp() {
    while (!lagging_.empty()) {
        const std::function<void()> action = std::move(lagging_.front());
        lagging_.pop_front();
        action();
    }
}

void FakeKeyboard::toApplication(std::function<void()> action) {
    if (lags_ || !lagging_.empty()) {
        lagging_.push_back(std::move(action));
        return;
    }
    action();
}

void FakeKeyboard::type(std::string_view text) {
    for (const std::string_view character : text::characters(text)) {
        KeyEventRecord event;
        event.keyCode = keyCodeFor(character);
        event.characters = std::string(character);
        press(event);
    }
}

TapAnswer FakeKeyboard::pressDelete() {
    KeyEventRecord event;
    event.keyCode = virtual_key::kDelete;
    return press(event);
}

TapAnswer FakeKeyboard::pressChord(std::uint16_t keyCode, std::uint64_t flags, std::optional<std::string> characters) {
    KeyEventRecord event;
    event.keyCode = keyCode;
    event.flags = flags;
    event.characters = std::move(characters);
    return press(event);
}

void FakeKeyboard::moveFocus() {
    if (!callback_) return;
    KeyEventRecord event;
    event.type = KeyEventRecord::kFocusMoved;
    const Callback callback = callback_;
    callback(event);
}

TapAnswer FakeKeyboard::disableTap(std::uint32_t reason) {
    if (!callback_) return TapAnswer::pass;
    enabled_ = false;
    KeyEventRecord event;
    event.type = reason;
    // A copy: the callback may remove or reinstall the tap while it runs.
    const Callback callback = callback_;
    return callback(event);
}

void FakeKeyboard::failOnPost(std::size_t n) {
    if (n == 0) {
        failAtPost_.reset();
    } else {
        failAtPost_ = n;
    }
}

bool FakeKeyboard::install(Callback callback) {
    ++installCount_;
    if (installFails_) return false;
    callback_ = std::move(callback);
    enabled_ = true;
    return true;
}

void FakeKeyboard::enable() {
    if (callback_) enabled_ = true;
}

void FakeKeyboard::remove() {
    callback_ = nullptr;
    enabled_ = false;
}

bool FakeKeyboard::post(const KeyboardEvent& event) {
    if (failAtPost_ && --*failAtPost_ == 0) {
        failAtPost_.reset();
        return false;
    }
    posted_.push_back(event);
    if (!event.keyDown) return true;

    KeyEventRecord record;
    record.keyCode = event.keyCode;
    record.userData = event.userData;
    if (!event.unicodeString.empty()) record.characters = text::fromUtf16(event.unicodeString);
    if (deliver(record) == TapAnswer::swallow) return true;
    toApplication([this, event] { applyPosted(event); });
    return true;
}

void FakeKeyboard::applyPosted(const KeyboardEvent& event) {
    const std::shared_ptr<FakeTextElement> element = desktop_.focusedTextElement();
    if (element == nullptr) return;
    if (event.keyCode == virtual_key::kDelete) {
        element->deleteBackward();
    } else {
        element->insert(std::u16string_view(event.unicodeString));
    }
}

TapAnswer FakeKeyboard::deliver(const KeyEventRecord& event) {
    if (!callback_ || !enabled_) return TapAnswer::pass;
    // A copy: the callback may remove or reinstall the tap while it runs.
    const Callback callback = callback_;
    return callback(event);
}

void FakeKeyboard::apply(const KeyEventRecord& event) {
    const std::shared_ptr<FakeTextElement> element = desktop_.focusedTextElement();
    if (element == nullptr) return;
    if (event.keyCode == virtual_key::kDelete) {
        element->deleteBackward();
    } else if ((event.flags & (modifier_flag::kCommand | modifier_flag::kControl)) == 0 && event.characters) {
        element->insert(std::string_view(*event.characters));
    }
}
}  // namespace tarvelo
