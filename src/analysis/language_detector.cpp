// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/language_detector.h"

#include <algorithm>
#include <utility>

#include "text/case_mapping.h"
#include "text/characters.h"
#include "text/normalization.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

constexpr double kDictionaryWeight = 8.0;
constexpr double kLetterPairWeight = 4.0;
constexpr double kRecognizerWeight = 3.0;
constexpr double kNoVowelPenalty = 2.0;
constexpr std::size_t kRecognizerHypotheses = 2;
// At most this many trailing full stops, commas and semicolons are stripped from a token.
constexpr std::size_t kMostStrippedPunctuation = 3;

struct LanguageRules {
    std::u32string_view vowels;
    std::vector<std::string_view> unlikelySequences;
    double sequencePenalty;
};

const LanguageRules& rulesFor(Language language) {
    static const LanguageRules english{U"aeiouy", {"ghb", "hbd", "bdt", "dtn", "jjj", "qq", "zx"}, 3.0};
    static const LanguageRules russian{U"аеёиоуыэюя", {"ъъ", "ыы", "ьь", "щщ", "дщ", "жэ"}, 2.5};
    return language == Language::english ? english : russian;
}

bool isSingleVowel(std::string_view character, std::u32string_view vowels) {
    const text::DecodedScalar decoded = text::decodeScalar(character, 0);
    return decoded.length == character.size() && vowels.find(decoded.scalar) != std::u32string_view::npos;
}

// Compared as text: U+037E GREEK QUESTION MARK is canonically a semicolon.
bool isStrippedPunctuation(std::string_view character) {
    const auto isOne = [](std::string_view c) { return c == "." || c == "," || c == ";"; };
    if (isOne(character)) return true;
    return !text::isAscii(character) && isOne(text::canonicalForm(character));
}

}  // namespace

LanguageDetector::LanguageDetector(LayoutConverter converter, SpellChecker& spellChecker,
                                   LanguageRecognizer& recognizer)
    : converter_(std::move(converter)),
      spellChecker_(spellChecker),
      recognizer_(recognizer),
      englishWords_{"about", "after",  "again", "all",   "also",    "and",   "another", "are",   "because",
                    "been",  "before", "between", "but", "can",     "come",  "could",   "day",   "did",
                    "do",    "does",   "done",  "down",  "each",    "even",  "every",   "first", "for",
                    "from",  "get",    "give",  "good",  "great",   "had",   "has",     "have",  "hello",
                    "help",  "here",   "home",  "how",   "into",    "just",  "know",    "last",  "like",
                    "look",  "make",   "many",  "may",   "more",    "most",  "much",    "need",  "new",
                    "next",  "not",    "now",   "one",   "only",    "other", "our",     "out",   "please",
                    "right", "same",   "see",   "should", "some",   "still", "take",    "than",  "thank",
                    "that",  "the",    "their", "them",  "then",    "there", "these",   "they",  "thing",
                    "think", "this",   "time",  "today", "two",     "use",   "very",    "want",  "was",
                    "way",   "we",     "well",  "were",  "what",    "when",  "where",   "which", "who",
                    "will",  "with",   "work",  "world", "would",   "write", "yes",     "you",   "your"},
      russianWords_{"без",    "больше", "будет", "бы",     "был",     "была",   "были",   "быть",  "вам",
                    "вас",    "ваш",    "вот",   "все",    "всего",   "вы",     "где",    "да",    "давай",
                    "даже",   "два",    "для",   "день",   "до",      "его",    "если",   "есть",  "еще",
                    "же",     "здесь",  "или",   "как",    "когда",   "который", "кто",   "ли",    "мне",
                    "может",  "можно",  "мой",   "мы",     "на",      "надо",   "наш",    "не",    "нет",
                    "но",     "новый",  "ну",    "он",     "она",     "они",    "оно",    "от",    "очень",
                    "первый", "по",     "под",   "пока",   "после",   "почему", "привет", "при",   "про",
                    "просто", "работа", "раз",   "сейчас", "спасибо", "так",    "также",  "там",   "тебя",
                    "теперь", "то",     "тогда", "только", "тут",     "ты",     "уже",    "хорошо", "хочу",
                    "чем",    "что",    "чтобы", "это",    "этот",    "я"},
      englishNGrams_{"th", "he", "in", "er", "an", "re", "on", "at", "en", "nd", "ti", "es", "or", "te",
                     "of", "ed", "is", "it", "al", "ar", "st", "to", "nt", "ng", "se", "ha", "as", "ou",
                     "io", "le", "ve", "co", "me", "de", "hi", "ri", "ro", "ic", "ne", "ea"},
      russianNGrams_{"ст", "но", "то", "на", "ен", "ов", "ни", "ра", "во", "ко", "ро", "по", "ос", "го",
                     "ал", "ли", "ер", "от", "пр", "та", "ет", "ло", "ре", "ол", "ка", "ит", "ор", "те",
                     "ть", "де", "ла", "не", "ри", "ва", "об", "че", "ск", "ак", "ил", "тр"} {}

const std::vector<std::string>& LanguageDetector::spellingLanguages() {
    if (!spellingLanguages_) spellingLanguages_ = spellChecker_.availableLanguages();
    return *spellingLanguages_;
}

double LanguageDetector::unlikelySequencePenalty(std::string_view text, Language language) const {
    const std::string key = text::comparisonKey(text);
    return penaltyForKey(key, text::characters(key), language);
}

double LanguageDetector::penaltyForKey(const std::string& key, const std::vector<std::string_view>& characters,
                                       Language language) const {
    const LanguageRules& rules = rulesFor(language);
    const bool hasVowel = std::any_of(characters.begin(), characters.end(), [&](std::string_view character) {
        return isSingleVowel(character, rules.vowels);
    });
    double penalty = hasVowel ? 0.0 : kNoVowelPenalty;
    const bool unlikely = std::any_of(rules.unlikelySequences.begin(), rules.unlikelySequences.end(),
                                      [&](std::string_view sequence) { return key.find(sequence) != std::string::npos; });
    if (unlikely) penalty += rules.sequencePenalty;
    return penalty;
}

bool LanguageDetector::isCorrectlySpelled(std::string_view text, Language language) {
    return isSpelledInLowerCase(text::lowercased(text), language);
}

bool LanguageDetector::isSpelledInLowerCase(const std::string& lower, Language language) {
    const auto characters = text::characters(lower);
    if (std::none_of(characters.begin(), characters.end(), text::isLetterCharacter)) return false;
    const bool onlyWordCharacters = std::all_of(characters.begin(), characters.end(), [](std::string_view character) {
        return text::isLetterCharacter(character) || character == "-" || character == "'";
    });
    if (!onlyWordCharacters) return false;

    const std::string_view code = languageTag(language);
    const auto& languages = spellingLanguages();
    const auto dictionary = std::find_if(languages.begin(), languages.end(),
                                         [&](const std::string& identifier) { return identifier.starts_with(code); });
    if (dictionary == languages.end()) return false;

    const SpellingResult result = spellChecker_.check(lower, *dictionary);
    return result.wordCount > 0 && !result.firstMisspelled.has_value();
}

double LanguageDetector::score(std::string_view text, Language as) {
    const std::string lower = text::lowercased(text);
    const std::string key = text::canonicalForm(lower);

    const auto& words = as == Language::english ? englishWords_ : russianWords_;
    double total = 0.0;
    if (words.count(key) != 0 || isSpelledInLowerCase(lower, as)) total = kDictionaryWeight;

    const auto characters = text::characters(key);
    if (characters.size() >= 2) {
        const auto& pairs = as == Language::english ? englishNGrams_ : russianNGrams_;
        std::size_t found = 0;
        std::string pair;
        for (std::size_t i = 0; i + 1 < characters.size(); ++i) {
            pair.assign(characters[i]);
            pair.append(characters[i + 1]);
            found += pairs.count(pair);
        }
        total += kLetterPairWeight * static_cast<double>(found) / static_cast<double>(characters.size() - 1);
    }

    const LanguageHypotheses hypotheses = recognizer_.languageHypotheses(lower, kRecognizerHypotheses);
    const auto probability = hypotheses.find(languageTag(as));
    if (probability != hypotheses.end()) total += kRecognizerWeight * probability->second;

    return total - penaltyForKey(key, characters, as);
}

DetectionResult LanguageDetector::evaluate(std::string_view text) {
    DetectionResult result;
    result.original = std::string(text);
    const auto converted = converter_.convertAutomatically(text);
    if (!converted) {
        result.converted = result.original;
        return result;
    }
    result.converted = converted->text;
    result.direction = converted->direction;
    result.originalScore = score(text, sourceLanguage(converted->direction));
    result.convertedScore = score(converted->text, targetLanguage(converted->direction));
    const bool toRussian = converted->direction == ConversionDirection::englishToRussian;
    if (result.convertedScore > result.originalScore) {
        result.classification = toRussian ? LanguageClassification::wrongEnglishLayoutIntendedRussian
                                          : LanguageClassification::wrongRussianLayoutIntendedEnglish;
    } else {
        result.classification = toRussian ? LanguageClassification::english : LanguageClassification::russian;
    }
    return result;
}

DetectionResult LanguageDetector::evaluateToken(std::string_view text) {
    DetectionResult best = evaluate(text);
    static const ExceptionWords kNoExceptions;
    // Segmented once; each shortened token ends where one of these characters begins.
    const std::vector<std::string_view> characters = text::characters(text);
    std::size_t kept = characters.size();
    while (kept > 0 && isStrippedPunctuation(characters[kept - 1])) {
        if (characters.size() - kept >= kMostStrippedPunctuation) break;
        --kept;
        const std::string_view token = text.substr(0, static_cast<std::size_t>(characters[kept].data() - text.data()));
        if (!analyzer_.shouldAnalyze(token, kNoExceptions)) continue;

        DetectionResult candidate = evaluate(token);
        const double candidateMargin = candidate.convertedScore - candidate.originalScore;
        const double bestMargin = best.convertedScore - best.originalScore;
        if (candidate.convertedScore > best.convertedScore && candidateMargin > bestMargin) {
            candidate.original = std::string(text);
            candidate.converted += text.substr(token.size());
            best = std::move(candidate);
        }
    }
    return best;
}

}  // namespace tarvelo
