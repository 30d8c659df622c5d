// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/application_filter.h"

#include <utility>

#include "store/defaults_keys.h"
#include "text/trimming.h"

namespace tarvelo {

ApplicationFilter::ApplicationFilter(DefaultsStore& defaults, ApplicationProfile profile)
    : defaults_(defaults), profile_(std::move(profile)) {
    std::set<std::string> disabled;
    if (const auto stored = defaults_.stringArrayForKey(defaults_keys::disabledBundleIdentifiers)) {
        disabled.insert(stored->begin(), stored->end());
    } else {
        disabled.insert(profile_.excludedByDefault.begin(), profile_.excludedByDefault.end());
    }
    // An early version excluded the development environments by default; release them once. An
    // exclusion the user makes afterwards stays.
    if (defaults_.integerForKey(defaults_keys::applicationsDefaultsVersion) < kDefaultsVersion) {
        for (const std::string& identifier : profile_.developmentEnvironments) disabled.erase(identifier);
        defaults_.setInteger(defaults_keys::applicationsDefaultsVersion, kDefaultsVersion);
    }
    disabled_.set(std::move(disabled));
    store();
}

bool ApplicationFilter::isDisabled(const std::optional<std::string>& bundleIdentifier) const {
    return bundleIdentifier && disabled_.get().count(*bundleIdentifier) != 0;
}

void ApplicationFilter::setDisabled(bool disabled, std::string_view bundleIdentifier) {
    std::set<std::string> identifiers = disabled_.get();
    if (disabled) {
        identifiers.emplace(bundleIdentifier);
    } else {
        identifiers.erase(std::string(bundleIdentifier));
    }
    disabled_.set(std::move(identifiers));
    store();
}

void ApplicationFilter::add(std::string_view bundleIdentifier) {
    if (!canAdd(bundleIdentifier)) return;
    setDisabled(true, text::trimmed(bundleIdentifier));
}

bool ApplicationFilter::canAdd(std::string_view bundleIdentifier) const {
    return profile_.acceptsIdentifier(text::trimmed(bundleIdentifier));
}

void ApplicationFilter::store() {
    // A std::set of std::string is already in code-point order for UTF-8.
    const auto& identifiers = disabled_.get();
    defaults_.setObject(defaults_keys::disabledBundleIdentifiers,
                        DefaultsValue(DefaultsStringArray(identifiers.begin(), identifiers.end())));
}

}  // namespace tarvelo
