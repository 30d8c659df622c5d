#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/login_items.h"

namespace tarvelo::desktop {

// Start at login through an XDG autostart entry, which every freedesktop session honours.
class XdgAutostartLoginItems final : public LoginItems {
public:
    // $XDG_CONFIG_HOME/autostart/tarvelo.desktop, starting the running executable.
    XdgAutostartLoginItems();
    XdgAutostartLoginItems(std::filesystem::path entry, std::filesystem::path executable);

    // True while the entry exists and the desktop has not been told to hide it.
    bool isEnabled() override;
    std::optional<std::string> registerItem() override;
    std::optional<std::string> unregisterItem() override;

    const std::filesystem::path& entry() const { return entry_; }

private:
    std::filesystem::path entry_;
    std::filesystem::path executable_;
};

}  // namespace tarvelo::desktop
