// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/word_analyzer.h"

#include <algorithm>
#include <vector>

#include "text/case_mapping.h"
#include "text/characters.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

constexpr std::size_t kShortestAnalyzedLength = 3;
constexpr std::size_t kLongestAnalyzedLength = 32;
constexpr std::size_t kLongestAbbreviation = 6;

constexpr std::u32string_view kAddressAndPathCharacters = U"@/:\\=+_#&?";
// Punctuation that may stand inside a word: most of it carries Russian letters on the English layout.
constexpr std::u32string_view kWordPunctuation = U"-'\u2019`[]{};,<>.";
constexpr std::string_view kDomainEndings[] = {"com", "org", "net", "io", "dev", "app", "ru", "kz"};

bool contains(std::u32string_view set, char32_t scalar) { return set.find(scalar) != std::u32string_view::npos; }

bool isAsciiLetterDigitOrHyphen(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// ^[A-Za-z0-9-]+\.(com|org|net|io|dev|app|ru|kz)$, case-insensitive.
bool isBareDomain(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || dot == 0) return false;
    const std::string_view name = text.substr(0, dot);
    const std::string_view ending = text.substr(dot + 1);
    if (!std::all_of(name.begin(), name.end(), isAsciiLetterDigitOrHyphen)) return false;
    return std::any_of(std::begin(kDomainEndings), std::end(kDomainEndings),
                       [&](std::string_view known) { return equalsIgnoringAsciiCase(ending, known); });
}

template <typename Predicate>
bool anyScalar(std::string_view text, Predicate predicate) {
    bool found = false;
    text::forEachScalar(text, [&](char32_t scalar) { found = found || predicate(scalar); });
    return found;
}

bool looksLikeCode(const std::vector<std::string_view>& characters) {
    bool hasLower = false;
    bool hasUpper = false;
    bool innerUpper = false;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const bool upper = text::isUppercaseCharacter(characters[i]);
        hasUpper = hasUpper || upper;
        innerUpper = innerUpper || (upper && i > 0);
        hasLower = hasLower || text::isLowercaseCharacter(characters[i]);
    }
    return hasLower && hasUpper && innerUpper;
}

bool looksLikeAbbreviation(const std::vector<std::string_view>& characters) {
    if (characters.size() > kLongestAbbreviation) return false;
    return std::all_of(characters.begin(), characters.end(), [](std::string_view character) {
        return !text::isLetterCharacter(character) || text::isUppercaseCharacter(character);
    });
}

}  // namespace

WordAnalyzer::WordAnalyzer()
    : protectedTechnicalWords_{"npm",   "npx",     "sudo",  "git",   "github", "localhost", "swift", "swiftui",
                               "chatgpt", "openai", "codex", "macbook", "xcode", "json",   "http",  "https",
                               "api",   "ssh",     "docker", "python", "java",   "node",    "sql"} {}

bool WordAnalyzer::looksLikeCode(std::string_view text) const { return tarvelo::looksLikeCode(text::characters(text)); }

bool WordAnalyzer::looksLikeAbbreviation(std::string_view text) const {
    return tarvelo::looksLikeAbbreviation(text::characters(text));
}

bool WordAnalyzer::shouldAnalyze(std::string_view text, const ExceptionWords& exceptions) const {
    const std::vector<std::string_view> characters = text::characters(text);
    if (characters.size() < kShortestAnalyzedLength || characters.size() > kLongestAnalyzedLength) return false;

    const std::string key = text::comparisonKey(text);
    if (exceptions.count(key) != 0 || protectedTechnicalWords_.count(key) != 0) return false;

    if (anyScalar(text, text::isDecimalDigit)) return false;
    if (anyScalar(text, [](char32_t scalar) { return contains(kAddressAndPathCharacters, scalar); })) return false;
    if (text.starts_with("www.")) return false;
    if (isBareDomain(text)) return false;
    if (text.starts_with("~")) return false;
    if (tarvelo::looksLikeCode(characters)) return false;
    if (tarvelo::looksLikeAbbreviation(characters)) return false;
    if (anyScalar(text, [](char32_t scalar) {
            return !text::isLetterOrMark(scalar) && !contains(kWordPunctuation, scalar);
        })) {
        return false;
    }

    const auto converted = converter_.convertAutomatically(text);
    if (!converted) return false;
    return !anyScalar(converted->text, [](char32_t scalar) {
        return !text::isLetterOrMark(scalar) && scalar != U'-' && scalar != U'\'';
    });
}

}  // namespace tarvelo
