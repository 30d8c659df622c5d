// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include <QPushButton>

#include "support/key_chord.h"

class QKeyEvent;

namespace tarvelo::ui {

// The button that records a shortcut's new chord. Clicked, it takes the keyboard and waits for the next
// chord: a key with the modifiers held at that moment. Esc cancels, Backspace asks for the default;
// modifiers alone are not a chord and keep it waiting. It gives the keyboard back once it has an answer
// or loses focus, or its window is hidden.
class ChordRecorder : public QPushButton {
    Q_OBJECT

public:
    explicit ChordRecorder(const QString& commandName, QWidget* parent = nullptr);
    ~ChordRecorder() override;

    bool isRecording() const { return recording_; }
    void startRecording();
    void stopRecording();

    // Called when recording starts and when it ends, however it ends.
    std::function<void(bool recording)> onRecordingChanged;
    // A chord was pressed; none for a key no chord may use.
    std::function<void(std::optional<KeyChord> chord)> onRecorded;
    std::function<void()> onResetRequested;

    // The chord a key press is, by the key's position where the desktop tells it; none for a key no chord
    // may use or a modifier alone.
    static std::optional<KeyChord> chordOf(const QKeyEvent& event);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showIdle();

    QString commandName_;
    bool recording_ = false;
};

}  // namespace tarvelo::ui
