// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/workspace.h"

namespace tarvelo::desktop {

class AtspiFocusedProcess;

// The desktop's applications where Tarvelo is an input method (Wayland): the compositor names no
// focused window to other programs, so the application receiving keys is the process that took the
// accessibility focus, named as the X11 desktop names it (processApplicationIdentifier). Addresses
// open through `opener`.
class FocusedProcessWorkspace final : public Workspace {
public:
    FocusedProcessWorkspace(AtspiFocusedProcess& focused, Workspace& opener) : focused_(focused), opener_(opener) {}

    std::optional<std::string> frontmostApplicationIdentifier() override;
    bool open(std::string_view address) override { return opener_.open(address); }

private:
    AtspiFocusedProcess& focused_;
    Workspace& opener_;
    // Asked at every key: looked up once per focused object.
    std::optional<std::uint64_t> lookedUpAt_;
    std::optional<std::string> identifier_;
};

}  // namespace tarvelo::desktop
