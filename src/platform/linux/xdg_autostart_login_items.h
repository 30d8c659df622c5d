// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/login_items.h"

namespace tarvelo::desktop {

// Start at login through an XDG autostart entry, which every freedesktop session honours. The entry
// names the installed program, never a build folder: by its name when the search path finds that very
// program, else by its absolute path; TryExec lets the session skip it once the program is gone.
class XdgAutostartLoginItems final : public LoginItems {
public:
    // $XDG_CONFIG_HOME/autostart, starting the installed program: the running one when it is installed,
    // else the copy at the configured prefix; none when neither exists (a build used on its own).
    XdgAutostartLoginItems();
    // `folder` is the autostart folder; `program` the installed program (none: registering fails);
    // `searchPath` a PATH value.
    XdgAutostartLoginItems(std::filesystem::path folder, std::optional<std::filesystem::path> program,
                           std::string searchPath);

    // True while an entry exists and the desktop has not been told to hide it.
    bool isEnabled() override;
    std::optional<std::string> registerItem() override;
    std::optional<std::string> unregisterItem() override;

    // Writes the entry again when it is on but says something else than it would now: it starts another
    // copy of the program (a build folder, a moved installation) or was written under the old name
    // tarvelo.desktop. Called at start; none when nothing needed doing or the rewrite succeeded.
    std::optional<std::string> rewriteStaleEntry();

    // $folder/dev.brinmoor.Tarvelo.desktop.
    const std::filesystem::path& entry() const { return entry_; }

private:
    std::string entryText() const;

    std::filesystem::path entry_;
    std::filesystem::path legacyEntry_;
    std::optional<std::filesystem::path> program_;
    std::string searchPath_;
};

}  // namespace tarvelo::desktop
