// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/known_application.h"

namespace tarvelo {

// The applications a platform knows about: those offered on the Applications page, those excluded for
// a new user, and the development environments that an early version excluded by default and that are
// released once from every user's list.
struct ApplicationProfile {
    std::vector<KnownApplication> knownApplications;
    std::vector<std::string> excludedByDefault;
    std::vector<std::string> developmentEnvironments;
    // Bundle identifiers always hold a full stop; X11 window classes ("konsole", "XTerm") mostly don't.
    bool identifiersContainFullStop = true;

    // Whether a trimmed text typed into "Add bundle identifier" can name an application.
    bool acceptsIdentifier(std::string_view identifier) const;
};

// macOS: identifiers are bundle identifiers.
ApplicationProfile macApplicationProfile();

// The Linux desktop: identifiers are the focused window's _GTK_APPLICATION_ID, else its WM_CLASS class.
ApplicationProfile linuxApplicationProfile();

}  // namespace tarvelo
