// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace tarvelo::desktop {

// The process that holds the keyboard focus, as the accessibility bus's focus events name it. Nothing
// here asks an application anything: the events say which object took the focus, and the bus itself
// says which process owns it. An input method answers keys while the application that sent them waits
// for the answer, and a question to that application would wait in turn. Main thread only.
class AtspiFocusedProcess {
public:
    AtspiFocusedProcess();
    ~AtspiFocusedProcess();
    AtspiFocusedProcess(const AtspiFocusedProcess&) = delete;
    AtspiFocusedProcess& operator=(const AtspiFocusedProcess&) = delete;

    // The process id, or none when no focus event has come yet, the focus left or there is no bus.
    std::optional<int> processId();
    // Whether focus events come at all: without an accessibility bus no process is ever known.
    bool isListening() const;
    // Counts the focus events that changed the focused object: what was learnt of it holds until then.
    std::uint64_t focusChanges() const;

private:
    struct Listener;
    std::unique_ptr<Listener> listener_;
};

}  // namespace tarvelo::desktop
