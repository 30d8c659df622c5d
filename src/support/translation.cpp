// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/translation.h"

#include <libintl.h>

namespace tarvelo::i18n {
namespace {

constexpr const char* kDomain = "tarvelo";

}  // namespace

std::string tr(const char* english) { return dgettext(kDomain, english); }

std::string trn(const char* singular, const char* plural, unsigned long count) {
    return dngettext(kDomain, singular, plural, count);
}

std::string format(std::string_view pattern,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string result;
    result.reserve(pattern.size());
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t open = pattern.find('{', at);
        if (open == std::string_view::npos) break;
        const std::size_t close = pattern.find('}', open);
        if (close == std::string_view::npos) break;
        result.append(pattern.substr(at, open - at));
        const std::string_view name = pattern.substr(open + 1, close - open - 1);
        bool replaced = false;
        for (const auto& [key, value] : values) {
            if (key != name) continue;
            result.append(value);
            replaced = true;
            break;
        }
        if (!replaced) result.append(pattern.substr(open, close - open + 1));
        at = close + 1;
    }
    result.append(pattern.substr(at));
    return result;
}

void useCatalogs(const std::string& directory) {
    bindtextdomain(kDomain, directory.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
}

// glibc keeps what it has looked up until the text domain is set again.
void languageChanged() { textdomain(textdomain(nullptr)); }

}  // namespace tarvelo::i18n
