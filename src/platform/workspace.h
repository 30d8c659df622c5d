// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvelo {

// The desktop's applications. Called on the main thread.
class Workspace {
public:
    virtual ~Workspace() = default;
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // The identifier of the application that receives keyboard input; none when there is no such
    // application or it reports no identifier.
    virtual std::optional<std::string> frontmostApplicationIdentifier() = 0;

    // Opens an address with the desktop's handler for it; false when the text is not a valid address
    // or nothing could open it.
    virtual bool open(std::string_view address) = 0;

protected:
    Workspace() = default;
};

}  // namespace tarvelo
