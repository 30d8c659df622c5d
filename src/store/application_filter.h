// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/defaults_store.h"
#include "store/application_profile.h"
#include "store/known_application.h"
#include "support/observable.h"

namespace tarvelo {

// The applications in which automatic correction is off, by exact identifier. Stored whole, sorted by
// code point, after every change.
class ApplicationFilter {
public:
    // The version of the built-in defaults that a user's stored list has been brought up to.
    static constexpr std::int64_t kDefaultsVersion = 2;

    ApplicationFilter(DefaultsStore& defaults, ApplicationProfile profile);
    ApplicationFilter(const ApplicationFilter&) = delete;
    ApplicationFilter& operator=(const ApplicationFilter&) = delete;

    const Observable<std::set<std::string>>& disabledBundleIdentifiers() const { return disabled_; }

    // Whether automatic correction is off in the application; an application without an identifier is
    // never filtered.
    bool isDisabled(const std::optional<std::string>& bundleIdentifier) const;

    // Excludes (true) or includes again (false) the identifier, unchanged.
    void setDisabled(bool disabled, std::string_view bundleIdentifier);

    // Excludes the trimmed text when it can name an application; anything else changes nothing.
    void add(std::string_view bundleIdentifier);
    // Whether `add` would take the text: on macOS it holds a full stop, on Linux it is not blank.
    bool canAdd(std::string_view bundleIdentifier) const;

    const std::vector<KnownApplication>& knownApplications() const { return profile_.knownApplications; }

private:
    void store();

    DefaultsStore& defaults_;
    ApplicationProfile profile_;
    Observable<std::set<std::string>> disabled_;
};

}  // namespace tarvelo
