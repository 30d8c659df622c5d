// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/chord_recorder.h"

#include <string>

#include <QKeyEvent>

#include "app/ui/qt_text.h"

namespace tarvelo::ui {
namespace {

// Linux input event codes of the keys a chord may use, by name; the X server's key code is this plus 8.
// They name positions, so a chord recorded under the Russian layout is the same chord.
std::optional<std::string> positionName(quint32 scanCode) {
    if (scanCode < 8) return std::nullopt;
    const quint32 code = scanCode - 8;
    static const char* const kDigitRow[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    static const char* const kTopRow[] = {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"};
    static const char* const kHomeRow[] = {"A", "S", "D", "F", "G", "H", "J", "K", "L"};
    static const char* const kBottomRow[] = {"Z", "X", "C", "V", "B", "N", "M"};
    if (code >= 2 && code <= 11) return kDigitRow[code - 2];
    if (code >= 16 && code <= 25) return kTopRow[code - 16];
    if (code >= 30 && code <= 38) return kHomeRow[code - 30];
    if (code >= 44 && code <= 50) return kBottomRow[code - 44];
    if (code == 57) return "Space";
    if (code >= 59 && code <= 68) return "F" + std::to_string(code - 58);
    if (code == 87) return "F11";
    if (code == 88) return "F12";
    return std::nullopt;
}

std::optional<std::string> qtKeyName(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::string(1, static_cast<char>('A' + (key - Qt::Key_A)));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return std::string(1, static_cast<char>('0' + (key - Qt::Key_0)));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return "F" + std::to_string(key - Qt::Key_F1 + 1);
    if (key == Qt::Key_Space) return "Space";
    return std::nullopt;
}

bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

}  // namespace

ChordRecorder::ChordRecorder(const QString& commandName, QWidget* parent)
    : QPushButton(parent), commandName_(commandName) {
    setObjectName("chordRecorder");
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] {
        if (!recording_) startRecording();
    });
    showIdle();
}

ChordRecorder::~ChordRecorder() {
    if (recording_) releaseKeyboard();
}

void ChordRecorder::showIdle() {
    setText(translated("Record Shortcut"));
    setAccessibleName(translated("Record a new shortcut for {command}", {{"command", commandName_.toStdString()}}));
    setAccessibleDescription({});
}

void ChordRecorder::startRecording() {
    if (recording_) return;
    recording_ = true;
    setText(translated("Press a shortcut\u2026"));
    setAccessibleName(translated("Recording a shortcut for {command}", {{"command", commandName_.toStdString()}}));
    setAccessibleDescription(translated("Press the new shortcut. Esc cancels, Backspace restores the default."));
    setFocus(Qt::OtherFocusReason);
    // Every key comes here, even a chord the window manager or Tarvelo itself would otherwise take.
    grabKeyboard();
    if (onRecordingChanged) onRecordingChanged(true);
}

void ChordRecorder::stopRecording() {
    if (!recording_) return;
    recording_ = false;
    releaseKeyboard();
    showIdle();
    if (onRecordingChanged) onRecordingChanged(false);
}

std::optional<KeyChord> ChordRecorder::chordOf(const QKeyEvent& event) {
    if (isModifierKey(event.key())) return std::nullopt;
    // The key's name under a Latin layout; its position otherwise (Ф is A), or when Shift changed it.
    std::optional<std::string> name = qtKeyName(event.key());
    if (const auto position = positionName(event.nativeScanCode())) name = position;
    if (!name) return std::nullopt;
    // The key's code; whether the chord is usable is the caller's question, which names the chord.
    const auto key = key_chord::fromParts({*name, "Ctrl"});
    if (!key) return std::nullopt;
    KeyChord chord{key->keyCode, 0};
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers.testFlag(Qt::ControlModifier)) chord.modifiers |= modifier_flag::kCommand;
    if (modifiers.testFlag(Qt::AltModifier)) chord.modifiers |= modifier_flag::kOption;
    if (modifiers.testFlag(Qt::ShiftModifier)) chord.modifiers |= modifier_flag::kShift;
    if (modifiers.testFlag(Qt::MetaModifier)) chord.modifiers |= modifier_flag::kControl;
    return chord;
}

bool ChordRecorder::event(QEvent* event) {
    // Tab and the window's own shortcuts are chords too while recording.
    if (recording_ && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            key->accept();
            return true;
        }
        keyPressEvent(key);
        return true;
    }
    return QPushButton::event(event);
}

void ChordRecorder::keyPressEvent(QKeyEvent* event) {
    if (!recording_) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    const int key = event->key();
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    if (isModifierKey(key)) return;
    if (key == Qt::Key_Escape && held == Qt::NoModifier) {
        stopRecording();
        return;
    }
    if (key == Qt::Key_Backspace && held == Qt::NoModifier) {
        stopRecording();
        if (onResetRequested) onResetRequested();
        return;
    }
    const std::optional<KeyChord> chord = chordOf(*event);
    stopRecording();
    if (onRecorded) onRecorded(chord);
}

void ChordRecorder::focusOutEvent(QFocusEvent* event) {
    // Moving to another control ends recording as Esc does. Taking the keyboard may itself tell the
    // window it lost focus for a moment; that is no reason to stop.
    if (event->reason() == Qt::MouseFocusReason || event->reason() == Qt::TabFocusReason ||
        event->reason() == Qt::BacktabFocusReason) {
        stopRecording();
    }
    QPushButton::focusOutEvent(event);
}

void ChordRecorder::hideEvent(QHideEvent* event) {
    // A closed window keeps no keyboard, and the shortcuts work again.
    stopRecording();
    QPushButton::hideEvent(event);
}

}  // namespace tarvelo::ui
