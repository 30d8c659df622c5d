// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/language/enchant_spell_checker.h"

#include <enchant.h>

#include <set>
#include <utility>

#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

// The dictionaries the detector relies on, with the provider pinned for each.
constexpr std::string_view kPinnedLanguages[] = {"en_US", "ru_RU"};
constexpr const char* kProvider = "hunspell";

bool isWordJoiner(char32_t scalar) { return scalar == U'\'' || scalar == U'\u2019' || scalar == U'-'; }

std::size_t utf16Units(char32_t scalar) { return scalar > 0xFFFF ? 2 : 1; }

// One word of a text: its bytes and its place in UTF-16 units.
struct Word {
    std::string_view bytes;
    TextRange range;
};

// Calls `visit(word)` for every word of `text` in order until it answers false.
template <typename Visitor>
void forEachWord(std::string_view text, Visitor&& visit) {
    std::size_t offset = 0;
    std::size_t units = 0;
    // The word being read: where it starts, and where it ends after its last letter.
    std::size_t start = 0;
    std::size_t startUnits = 0;
    std::size_t end = 0;
    std::size_t endUnits = 0;
    bool inWord = false;
    // A joiner right after a letter; it joins only when a letter follows.
    bool pendingJoiner = false;

    const auto finish = [&] {
        inWord = false;
        pendingJoiner = false;
        return visit(Word{text.substr(start, end - start), TextRange{startUnits, endUnits - startUnits}});
    };

    while (offset < text.size()) {
        const text::DecodedScalar decoded = text::decodeScalar(text, offset);
        const char32_t scalar = decoded.scalar;
        if (text::isLetterOrMark(scalar) && scalar != text::kReplacementCharacter) {
            if (!inWord) {
                inWord = true;
                start = offset;
                startUnits = units;
            }
            pendingJoiner = false;
            end = offset + decoded.length;
            endUnits = units + utf16Units(scalar);
        } else if (inWord && !pendingJoiner && isWordJoiner(scalar)) {
            pendingJoiner = true;
        } else if (inWord && !finish()) {
            return;
        }
        offset += decoded.length;
        units += utf16Units(scalar);
    }
    if (inWord) finish();
}

}  // namespace

void EnchantSpellChecker::BrokerRelease::operator()(str_enchant_broker* broker) const { enchant_broker_free(broker); }

void EnchantSpellChecker::DictionaryRelease::operator()(str_enchant_dict* dictionary) const {
    enchant_broker_free_dict(broker, dictionary);
}

EnchantSpellChecker::EnchantSpellChecker() : broker_(enchant_broker_init()) {
    if (!broker_) return;
    for (const std::string_view language : kPinnedLanguages) {
        enchant_broker_set_ordering(broker_.get(), std::string(language).c_str(), kProvider);
    }
}

EnchantSpellChecker::~EnchantSpellChecker() = default;

std::vector<std::string> EnchantSpellChecker::availableLanguages() {
    if (!broker_) return {};
    std::set<std::string> tags;
    enchant_broker_list_dicts(
        broker_.get(),
        [](const char* const tag, const char* const, const char* const, const char* const, void* found) {
            if (tag != nullptr && *tag != '\0') static_cast<std::set<std::string>*>(found)->insert(tag);
        },
        &tags);

    std::vector<std::string> languages;
    for (const std::string_view pinned : kPinnedLanguages) {
        if (const auto found = tags.find(std::string(pinned)); found != tags.end()) {
            languages.push_back(*found);
            tags.erase(found);
        }
    }
    languages.insert(languages.end(), tags.begin(), tags.end());
    return languages;
}

str_enchant_dict* EnchantSpellChecker::dictionary(std::string_view language) {
    if (const auto cached = dictionaries_.find(language); cached != dictionaries_.end()) return cached->second.get();
    const std::string tag(language);
    DictionaryHandle handle(nullptr, DictionaryRelease{broker_.get()});
    // Enchant complains on standard error about an empty tag; there is no such dictionary anyway.
    if (broker_ && !tag.empty() && tag.find('\0') == std::string::npos) {
        handle.reset(enchant_broker_request_dict(broker_.get(), tag.c_str()));
    }
    str_enchant_dict* const loaded = handle.get();
    dictionaries_.emplace(tag, std::move(handle));
    return loaded;
}

SpellingResult EnchantSpellChecker::check(std::string_view text, std::string_view language) {
    SpellingResult result;
    str_enchant_dict* const loaded = dictionary(language);
    if (loaded == nullptr) return result;
    forEachWord(text, [&](const Word& word) {
        ++result.wordCount;
        if (!result.firstMisspelled) {
            const auto length = static_cast<ssize_t>(word.bytes.size());
            if (enchant_dict_check(loaded, word.bytes.data(), length) != 0) result.firstMisspelled = word.range;
        }
        return true;
    });
    return result;
}

}  // namespace tarvelo::desktop
