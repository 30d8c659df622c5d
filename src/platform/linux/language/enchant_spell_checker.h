// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spell_checker.h"

// Enchant's handle types, declared here so that users of this header need not see enchant.h.
struct str_enchant_broker;
struct str_enchant_dict;

namespace tarvelo::desktop {

// The spell checker of the Linux desktop: Enchant 2 with the hunspell dictionaries (Debian's
// hunspell-en-us and hunspell-ru). en_US and ru_RU always go to hunspell, whatever the system's
// enchant.ordering says (Debian's hands English to aspell when that is installed), so a word is
// judged the same on every machine that has those dictionaries.
//
// Words are what a spell checker of running text checks: maximal runs of letters and combining
// marks, where an apostrophe (' or ’) or hyphen-minus between two letters belongs to the word
// ("don't", "что-то" are one word each). Digits, other punctuation and symbols separate words and
// are not words. Each word goes to the dictionary as it is: hunspell accepts a lower-case dictionary
// word in any case, but a proper noun only with its capital.
//
// Dictionaries are loaded on first use (en_US takes about 16 ms and 7 MB, ru_RU about 37 ms and
// 16 MB) and kept; a language that cannot be loaded is remembered as missing. Not synchronised: one
// thread at a time.
class EnchantSpellChecker final : public SpellChecker {
public:
    EnchantSpellChecker();
    ~EnchantSpellChecker() override;

    // Every language a provider offers, each once: en_US and ru_RU first (in that order) when
    // present, then the others in byte order of their tags.
    std::vector<std::string> availableLanguages() override;

    // Counts all words of `text`; `firstMisspelled` is the first word the dictionary rejects (or fails
    // to check), in UTF-16 units from the start of `text`. In a language without a dictionary no words
    // are found.
    SpellingResult check(std::string_view text, std::string_view language) override;

private:
    struct BrokerRelease {
        void operator()(str_enchant_broker* broker) const;
    };
    struct DictionaryRelease {
        str_enchant_broker* broker;
        void operator()(str_enchant_dict* dictionary) const;
    };
    using BrokerHandle = std::unique_ptr<str_enchant_broker, BrokerRelease>;
    using DictionaryHandle = std::unique_ptr<str_enchant_dict, DictionaryRelease>;

    // The loaded dictionary of `language`, or nullptr when there is none.
    str_enchant_dict* dictionary(std::string_view language);

    // Declared first so that it is destroyed last, after the dictionaries it hands out.
    BrokerHandle broker_;
    std::map<std::string, DictionaryHandle, std::less<>> dictionaries_;
};

}  // namespace tarvelo::desktop
