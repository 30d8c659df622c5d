// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarvelo {

// Holds the user's keys back from every application for the few milliseconds of an edit, so that no key
// can land in the middle of it. Main thread only.
class KeyboardFreeze {
public:
    virtual ~KeyboardFreeze() = default;
    KeyboardFreeze(const KeyboardFreeze&) = delete;
    KeyboardFreeze& operator=(const KeyboardFreeze&) = delete;

    // From now until thaw(), keys the user presses wait at the desktop instead of reaching an
    // application. Before it answers, every key that reached an application before the freeze has been
    // handed to the event tap's callback, so the keyboard monitor knows all that the application may show.
    // False when the keyboard cannot be held (another program holds it): nothing is held then.
    virtual bool freeze() = 0;
    // The waiting keys go on to the focused application, in the order they were pressed, after everything
    // done during the freeze. Does nothing when nothing is held.
    virtual void thaw() = 0;

protected:
    KeyboardFreeze() = default;
};

}  // namespace tarvelo
