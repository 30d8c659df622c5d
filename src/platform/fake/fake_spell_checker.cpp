// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_spell_checker.h"

#include "text/utf8.h"

namespace tarvelo {

std::vector<std::string> FakeSpellChecker::availableLanguages() {
    ++availableLanguagesCalls_;
    return languages_;
}

SpellingResult FakeSpellChecker::check(std::string_view text, std::string_view language) {
    checks_.emplace_back(std::string(text), std::string(language));
    SpellingResult result;
    if (text.empty()) return result;
    result.wordCount = 1;
    const auto dictionary = words_.find(language);
    const bool known = dictionary != words_.end() && dictionary->second.count(text) != 0;
    if (!known) result.firstMisspelled = TextRange{0, text::utf16Length(text)};
    return result;
}

}  // namespace tarvelo
