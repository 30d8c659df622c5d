// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/focused_process_workspace.h"

#include "platform/linux/atspi/atspi_focused_process.h"
#include "platform/linux/process_application.h"

namespace tarvelo::desktop {

std::optional<std::string> FocusedProcessWorkspace::frontmostApplicationIdentifier() {
    const std::uint64_t changes = focused_.focusChanges();
    if (lookedUpAt_ == changes) return identifier_;
    const std::optional<int> process = focused_.processId();
    identifier_ = process ? processApplicationIdentifier(*process) : std::nullopt;
    // A process not found now may be found at the next key.
    lookedUpAt_ = identifier_ ? std::optional<std::uint64_t>(changes) : std::nullopt;
    return identifier_;
}

}  // namespace tarvelo::desktop
