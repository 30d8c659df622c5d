// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spell_checker.h"

namespace tarvelo {

// A spell checker with no dictionaries until a test gives it some. It treats the whole text as one
// word: spelled right exactly when that language accepts it.
class FakeSpellChecker final : public SpellChecker {
public:
    std::vector<std::string> availableLanguages() override;
    SpellingResult check(std::string_view text, std::string_view language) override;

    void setAvailableLanguages(std::vector<std::string> languages) { languages_ = std::move(languages); }
    void accept(const std::string& language, const std::string& word) { words_[language].insert(word); }

    std::size_t availableLanguagesCalls() const { return availableLanguagesCalls_; }
    std::size_t checkCalls() const { return checks_.size(); }
    // The (text, language) of every check, in order.
    const std::vector<std::pair<std::string, std::string>>& checks() const { return checks_; }

private:
    std::vector<std::string> languages_;
    std::map<std::string, std::set<std::string, std::less<>>, std::less<>> words_;
    std::size_t availableLanguagesCalls_ = 0;
    std::vector<std::pair<std::string, std::string>> checks_;
};

}  // namespace tarvelo
