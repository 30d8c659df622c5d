// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/collation.h"

#include <memory>
#include <string_view>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include "text/case_mapping.h"

namespace tarvelo::text {
namespace {

// Secondary strength tells accents apart but not letter case.
std::unique_ptr<icu::Collator> makeCollator() {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::getDefault();
    // The C and POSIX locales map to en_US_POSIX, whose collation is ASCII order with capitals first;
    // such a user has chosen no language, so words sort by the root order instead.
    if (std::string_view(locale.getName()) == "en_US_POSIX") locale = icu::Locale::getRoot();
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status)) return nullptr;
    collator->setStrength(icu::Collator::SECONDARY);
    return collator;
}

}  // namespace

int compareLocalizedCaseInsensitive(std::string_view a, std::string_view b) {
    thread_local const std::unique_ptr<icu::Collator> collator = makeCollator();
    if (collator) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult result = collator->compareUTF8(
            icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
            icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
        if (U_SUCCESS(status)) return static_cast<int>(result);
    }
    // Without collation data, case-blind code-point order still gives a usable list.
    return comparisonKey(a).compare(comparisonKey(b));
}

}  // namespace tarvelo::text
