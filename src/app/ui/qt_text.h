// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include <QString>

#include "support/translation.h"

namespace tarvelo::ui {

// The core's UTF-8 text as Qt shows it.
inline QString text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// An English interface text, the catalog's message id, in the user's language.
inline QString translated(std::string_view english) { return text(i18n::tr(std::string(english).c_str())); }
// A whole sentence in the user's language with its "{name}" placeholders filled in.
inline QString translated(std::string_view english,
                          std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    return text(i18n::format(i18n::tr(std::string(english).c_str()), values));
}
// A counted sentence: the form the user's language takes for `count`, with "{count}" filled in.
inline QString translatedCount(const char* singular, const char* plural, long long count) {
    const std::string number = std::to_string(count);
    const unsigned long magnitude = count < 0 ? static_cast<unsigned long>(-count) : static_cast<unsigned long>(count);
    return text(i18n::format(i18n::trn(singular, plural, magnitude), {{"count", number}}));
}

}  // namespace tarvelo::ui
