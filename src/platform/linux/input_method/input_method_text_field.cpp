// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input_method/input_method_text_field.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

constexpr std::size_t utf16Units(char32_t scalar) { return scalar > 0xFFFF ? 2 : 1; }

}  // namespace

void InputMethodTextField::setSurroundingText(std::string_view text, std::size_t cursor, std::size_t anchor) {
    if (secure_) return;
    text_ = text::scalars(text);
    cursor_ = std::min(cursor, text_.size());
    anchor_ = std::min(anchor, text_.size());
    known_ = true;
    chosen_.reset();
    editRefused_ = false;
}

void InputMethodTextField::setSecure(bool secure) {
    secure_ = secure;
    if (secure_) forget();
}

void InputMethodTextField::forget() {
    text_.clear();
    cursor_ = anchor_ = 0;
    known_ = false;
    chosen_.reset();
}

void InputMethodTextField::hold(std::string_view text) {
    editRefused_ = false;
    holding_ = true;
    heldTaken_ = false;
    held_ = text::scalars(text);
    heldPending_ = held_.size();
    if (known_) replaceSelection(held_);
}

bool InputMethodTextField::finishHeld() {
    holding_ = false;
    heldPending_ = 0;
    chosen_.reset();
    return std::exchange(heldTaken_, false);
}

void InputMethodTextField::dropHeld() {
    if (known_ && heldPending_ > 0 && cursor_ >= heldPending_) {
        text_.erase(cursor_ - heldPending_, heldPending_);
        cursor_ -= heldPending_;
        anchor_ = cursor_;
    }
    holding_ = false;
    heldTaken_ = false;
    heldPending_ = 0;
}

void InputMethodTextField::noteBackspace() {
    if (!known_) return;
    if (cursor_ != anchor_) {
        replaceSelection({});
    } else if (cursor_ > 0) {
        text_.erase(--cursor_, 1);
        anchor_ = cursor_;
    }
}

void InputMethodTextField::replaceSelection(std::u32string_view text) {
    const std::size_t start = selectionStart();
    text_.replace(start, selectionEnd() - start, text);
    cursor_ = anchor_ = start + text.size();
}

void InputMethodTextField::deleteBefore(std::size_t characters) {
    if (holding_) heldTaken_ = true;
    const std::size_t fromHeld = std::min(characters, heldPending_);
    heldPending_ -= fromHeld;
    if (characters > fromHeld) {
        // The client's part ends where the held key's part begins.
        std::optional<std::size_t> bytes;
        if (known_ && cursor_ >= characters) {
            bytes = text::fromScalars(std::u32string_view(text_).substr(cursor_ - characters, characters - fromHeld)).size();
        }
        client_.deleteBeforeCaret(characters - fromHeld, bytes);
    }
    if (known_) {
        const std::size_t removed = std::min(characters, cursor_);
        text_.erase(cursor_ - removed, removed);
        cursor_ -= removed;
        anchor_ = cursor_;
    }
}

void InputMethodTextField::insert(std::string_view text) {
    const std::u32string scalars = text::scalars(text);
    std::string committed;
    if (holding_) {
        heldTaken_ = true;
        // What is left of the held key goes to the client with the inserted text, in front of it.
        committed = text::fromScalars(std::u32string_view(held_).substr(0, heldPending_));
        heldPending_ = 0;
    }
    committed += text;
    if (!committed.empty()) client_.commit(committed);
    if (known_) replaceSelection(scalars);
}

std::size_t InputMethodTextField::unitsBefore(std::size_t characters) const {
    std::size_t units = 0;
    for (std::size_t i = 0; i < characters && i < text_.size(); ++i) units += utf16Units(text_[i]);
    return units;
}

std::optional<std::size_t> InputMethodTextField::charactersBefore(std::size_t units) const {
    std::size_t counted = 0;
    for (std::size_t i = 0; i <= text_.size(); ++i) {
        if (counted == units) return i;
        if (i == text_.size() || counted > units) break;
        counted += utf16Units(text_[i]);
    }
    return std::nullopt;
}

std::string InputMethodTextField::markedText() const {
    std::u32string marked = text_;
    const std::size_t start = selectionStart();
    const std::size_t end = selectionEnd();
    if (end != start) marked.insert(end, 1, U'|');
    marked.insert(start, 1, U'|');
    return text::fromScalars(marked);
}

AccessibilityAnswer InputMethodTextField::copyAttribute(std::string_view name) {
    if (name == "AXRole") return {accessibility_error::kSuccess, AccessibilityValue(std::string("AXTextArea"))};
    if (name == "AXSubrole") {
        if (secure_) return {accessibility_error::kSuccess, AccessibilityValue(std::string("AXSecureTextField"))};
        return {accessibility_error::kNoValue, std::nullopt};
    }
    if (name == "AXProtectedContent") return {accessibility_error::kSuccess, AccessibilityValue(secure_)};
    if (!known_ || secure_) return {accessibility_error::kAttributeUnsupported, std::nullopt};
    if (name == "AXSelectedTextRange") {
        const std::size_t start = unitsBefore(selectionStart());
        return {accessibility_error::kSuccess, AccessibilityValue(TextRange{start, unitsBefore(selectionEnd()) - start})};
    }
    if (name == "AXSelectedText") {
        const std::size_t start = selectionStart();
        return {accessibility_error::kSuccess,
                AccessibilityValue(text::fromScalars(std::u32string_view(text_).substr(start, selectionEnd() - start)))};
    }
    if (name == "AXValue") return {accessibility_error::kSuccess, AccessibilityValue(text::fromScalars(text_))};
    return {accessibility_error::kAttributeUnsupported, std::nullopt};
}

int InputMethodTextField::setAttribute(std::string_view name, const AccessibilityValue& value) {
    if (!known_ || secure_) return accessibility_error::kCannotComplete;
    if (name == "AXSelectedTextRange") {
        const TextRange* range = std::get_if<TextRange>(&value);
        if (range == nullptr) return accessibility_error::kIllegalArgument;
        const std::size_t caret = unitsBefore(cursor_);
        const std::size_t start = unitsBefore(selectionStart());
        const std::size_t length = unitsBefore(selectionEnd()) - start;
        // The client's caret cannot be moved from here; an edit can still replace the text just before
        // it, or the selection.
        if (*range == TextRange{start, length}) {
            chosen_.reset();
            return accessibility_error::kSuccess;
        }
        if (cursor_ == anchor_ && range->location + range->length == caret && charactersBefore(range->location)) {
            chosen_ = *range;
            return accessibility_error::kSuccess;
        }
        return accessibility_error::kCannotComplete;
    }
    if (name == "AXSelectedText") {
        const std::string* text = std::get_if<std::string>(&value);
        if (text == nullptr) return accessibility_error::kIllegalArgument;
        if (chosen_) {
            const std::optional<std::size_t> start = charactersBefore(chosen_->location);
            chosen_.reset();
            if (!start || cursor_ != anchor_ || *start > cursor_) return accessibility_error::kCannotComplete;
            // The client's part of it: the held key's characters, at the end, never reached the client.
            const std::size_t characters = cursor_ - *start;
            const std::size_t clientPart = characters - std::min(characters, heldPending_);
            if (!client_.canDelete(std::u32string_view(text_).substr(*start, clientPart))) {
                editRefused_ = true;
                return accessibility_error::kCannotComplete;
            }
            deleteBefore(characters);
        }
        insert(*text);
        return accessibility_error::kSuccess;
    }
    return accessibility_error::kAttributeUnsupported;
}

AccessibilityAnswer InputMethodTextField::copyParameterizedAttribute(std::string_view name, const AccessibilityValue& parameter) {
    if (!known_ || secure_ || name != "AXStringForRange") return {accessibility_error::kAttributeUnsupported, std::nullopt};
    const TextRange* range = std::get_if<TextRange>(&parameter);
    if (range == nullptr) return {accessibility_error::kIllegalArgument, std::nullopt};
    const std::optional<std::size_t> start = charactersBefore(range->location);
    const std::optional<std::size_t> end = charactersBefore(range->location + range->length);
    if (!start || !end) return {accessibility_error::kIllegalArgument, std::nullopt};
    return {accessibility_error::kSuccess,
            AccessibilityValue(text::fromScalars(std::u32string_view(text_).substr(*start, *end - *start)))};
}

}  // namespace tarvelo::desktop
