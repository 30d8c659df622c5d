// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/running_text_judge.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "pipeline/auto_switch_engine.h"
#include "text/case_mapping.h"
#include "text/characters.h"
#include "text/normalization.h"
#include "text/properties.h"
#include "text/utf8.h"

namespace tarvelo {
namespace {

// At most this many punctuation keys are split off the end of a word, and one off its start.
constexpr std::size_t kMostTrailingKeys = 3;
constexpr std::size_t kLongestShortWord = 2;
// The single-word detector keeps these trailing keys as they are typed when that scores better.
constexpr std::string_view kKeptPunctuation = ".,;";
// An all-caps word is corrected on its own only from this length, and only into a dictionary word
// (PFRJY is ЗАКОН; TLS stays, though ЕДЫ is a word); next to a word corrected the same way, up to
// this length whatever it becomes.
constexpr std::size_t kShortestAbbreviationWord = 4;
constexpr std::size_t kLongestAbbreviationInContext = 6;

bool hasWhiteSpace(std::string_view text) {
    bool found = false;
    text::forEachScalar(text, [&](char32_t scalar) { found = found || text::isWhiteSpace(scalar); });
    return found;
}

// A digit is the same key on both layouts and makes the word a name or a number (ghbdtn2 stays as
// typed): it is never split off as punctuation.
bool isDigitKey(std::string_view key) { return key.size() == 1 && key[0] >= '0' && key[0] <= '9'; }

bool isWrongLayout(LanguageClassification classification) {
    return classification == LanguageClassification::wrongEnglishLayoutIntendedRussian ||
           classification == LanguageClassification::wrongRussianLayoutIntendedEnglish;
}

bool hasLetter(std::string_view text) {
    const auto keys = text::characters(text);
    return std::any_of(keys.begin(), keys.end(), text::isLetterCharacter);
}

// The language of the run so far: the direction of its last corrected word, read back over the
// words with no letter in them (numbers, dashes, bullets), which belong to either.
std::optional<ConversionDirection> runDirection(const std::vector<RunWord>& run) {
    for (auto word = run.rbegin(); word != run.rend(); ++word) {
        if (word->corrected) return word->corrected;
        if (hasLetter(word->text)) return std::nullopt;
    }
    return std::nullopt;
}

std::string_view between(std::string_view text, std::string_view first, std::string_view last) {
    return text.substr(static_cast<std::size_t>(first.data() - text.data()),
                       static_cast<std::size_t>(last.data() + last.size() - first.data()));
}

// The shifted punctuation keys of the English layout, and the same keys unshifted: Ж and Ж, Э and
// э, Б and б, Ю and ю, Х and х, Ъ and ъ, Ё and ё on the Russian side.
char unshiftedKey(char key) {
    switch (key) {
        case ':': return ';';
        case '"': return '\'';
        case '<': return ',';
        case '>': return '.';
        case '{': return '[';
        case '}': return ']';
        case '~': return '`';
        default: return key;
    }
}

}  // namespace

// A word cut into the punctuation keys before it, its letters, and the punctuation keys after it.
struct RunningTextJudge::Parts {
    std::string_view lead;
    std::string_view stem;
    std::string_view trail;
    std::size_t stemCharacters = 0;
};

RunningTextJudge::RunningTextJudge(LanguageDetector& detector)
    : detector_(detector),
      englishShortWords_{"a",  "i",  "to", "of", "is", "in", "it", "on", "at", "be", "we", "he", "me", "my",
                         "no", "so", "do", "go", "us", "or", "an", "as", "by", "up", "if", "am", "ok"},
      russianShortWords_{"в",  "и",  "а",  "к",  "с",  "я",  "о",  "у",  "на", "не", "по", "за", "из",
                         "до", "от", "то", "же", "ли", "бы", "он", "мы", "вы", "ты", "да", "ну", "но",
                         "их", "ей", "им", "ни", "об", "со", "ко", "во", "уж", "её", "ее", "ль"} {}

const std::unordered_set<std::string>& RunningTextJudge::shortWords(Language language) const {
    return language == Language::english ? englishShortWords_ : russianShortWords_;
}

bool RunningTextJudge::isWord(std::string_view text, Language language) {
    const std::string lower = text::lowercased(text);
    const std::string key = text::canonicalForm(lower);
    if (shortWords(language).count(key) != 0) return true;
    const auto& listed = language == Language::english ? detector_.englishWords() : detector_.russianWords();
    if (listed.count(key) != 0) return true;
    return text::characterCount(key) > kLongestShortWord && detector_.isCorrectlySpelled(lower, language);
}

std::string RunningTextJudge::lowerKeys(std::string_view text, ConversionDirection direction) const {
    std::string lower = text::lowercased(text);
    if (direction == ConversionDirection::englishToRussian) {
        std::transform(lower.begin(), lower.end(), lower.begin(), unshiftedKey);
    }
    return lower;
}

std::string RunningTextJudge::convertedGap(std::string_view gap, ConversionDirection direction) const {
    std::string out;
    for (const std::string_view key : text::characters(gap)) {
        const std::string converted = converter_.convertKeys(key, direction);
        out.append(text::isLetterCharacter(converted) ? key : std::string_view(converted));
    }
    return out;
}

std::optional<std::string> RunningTextJudge::convertedWord(const Parts& parts, ConversionDirection direction,
                                                           double sensitivity, const ExceptionWords& exceptions) {
    const std::string_view stem = parts.stem;
    if (exceptions.count(text::comparisonKey(stem)) != 0) return std::nullopt;
    if (analyzer_.looksLikeCode(stem)) return std::nullopt;
    if (analyzer_.looksLikeAbbreviation(stem) &&
        !(text::characterCount(stem) >= kShortestAbbreviationWord &&
          isWord(converter_.convert(stem, direction), targetLanguage(direction)) &&
          !isWord(stem, sourceLanguage(direction)))) {
        return std::nullopt;
    }
    const std::string lower = lowerKeys(stem, direction);
    if (!analyzer_.shouldAnalyze(lower, exceptions)) return std::nullopt;

    const DetectionResult result = detector_.evaluateToken(lower);
    if (result.direction != direction || !isWrongLayout(result.classification)) return std::nullopt;
    if (!(result.convertedScore - result.originalScore >= AutoSwitchEngine::requiredMargin(sensitivity))) {
        return std::nullopt;
    }
    // The detector may keep trailing . , ; as typed; the rest is converted with its case.
    const auto converted = text::characters(result.converted);
    const auto typed = text::characters(lower);
    std::size_t kept = 0;
    while (kept < converted.size() && kept < typed.size() &&
           converted[converted.size() - 1 - kept] == typed[typed.size() - 1 - kept] &&
           kKeptPunctuation.find(typed[typed.size() - 1 - kept]) != std::string_view::npos &&
           typed[typed.size() - 1 - kept].size() == 1) {
        ++kept;
    }
    // Typed key by key, a full stop on the other layout is a letter: when the whole conversion is a
    // word, the word is meant (помощью, not помощь.).
    if (kept > 0 && isWord(converter_.convert(lower, direction), targetLanguage(direction))) kept = 0;
    const auto stemKeys = text::characters(stem);
    const std::size_t convertedKeys = stemKeys.size() - kept;
    const std::size_t convertedBytes =
        convertedKeys == stemKeys.size() ? stem.size() : static_cast<std::size_t>(stemKeys[convertedKeys].data() - stem.data());
    std::string out = converter_.convert(stem.substr(0, convertedBytes), direction);
    out.append(stem.substr(convertedBytes));
    return out;
}

bool RunningTextJudge::readsAsSource(const std::vector<RunWord>& run, ConversionDirection direction) {
    if (run.empty() || run.back().corrected || !hasWhiteSpace(run.back().gap)) return false;
    const std::string& before = run.back().typed;
    const auto automatic = converter_.convertAutomatically(before);
    if (!automatic || automatic->direction != direction) return false;
    // A collision (еру, the) says nothing.
    if (isWord(converter_.convert(lowerKeys(before, direction), direction), targetLanguage(direction))) return false;
    if (run.back().language == sourceLanguage(direction)) return true;
    const LanguageClassification classification = detector_.evaluate(lowerKeys(before, direction)).classification;
    return classification ==
           (direction == ConversionDirection::englishToRussian ? LanguageClassification::english
                                                               : LanguageClassification::russian);
}

std::optional<RunningTextJudge::Parts> RunningTextJudge::otherLayoutParts(std::string_view word,
                                                                          ConversionDirection direction) const {
    const std::vector<std::string_view> keys = text::characters(word);
    const auto isOtherPunctuation = [&](std::string_view key) {
        return !isDigitKey(key) && !text::isLetterCharacter(converter_.convertKeys(key, direction));
    };
    const std::size_t first = keys.empty() || !isOtherPunctuation(keys.front()) ? 0 : 1;
    std::size_t last = keys.size();
    while (last > first && keys.size() - last < kMostTrailingKeys && isOtherPunctuation(keys[last - 1])) --last;
    if (last <= first) return std::nullopt;
    Parts parts;
    parts.lead = first > 0 ? keys.front() : std::string_view();
    parts.stem = between(word, keys[first], keys[last - 1]);
    parts.trail = last < keys.size() ? between(word, keys[last], keys.back()) : std::string_view();
    parts.stemCharacters = last - first;
    return parts;
}

std::string RunningTextJudge::assembled(const Parts& parts, const std::string& stem, ConversionDirection direction) const {
    return converter_.convertKeys(parts.lead, direction) + stem + converter_.convertKeys(parts.trail, direction);
}

std::optional<std::string> RunningTextJudge::convertedInContext(const Parts& parts, ConversionDirection direction,
                                                                bool afterCorrection,
                                                                const ExceptionWords& exceptions) {
    const std::string_view stem = parts.stem;
    if (exceptions.count(text::comparisonKey(stem)) != 0) return std::nullopt;
    if (analyzer_.protectedTechnicalWords().count(text::comparisonKey(stem)) != 0) return std::nullopt;
    const Language source = sourceLanguage(direction);
    const Language target = targetLanguage(direction);
    // Russian is never written in mixed case; English typed on the Russian layout is (IDs, SELinux).
    if (source != Language::russian && analyzer_.looksLikeCode(stem)) return std::nullopt;
    // Before a correction, a word of its own layout whose last letters are punctuation on the other
    // (каждую, not кажду.); after one, the run decides (шею is it.).
    if (!afterCorrection && (!parts.lead.empty() || !parts.trail.empty()) &&
        isWord(std::string(parts.lead) + std::string(stem) + std::string(parts.trail), source)) {
        return std::nullopt;
    }
    const std::string lower = lowerKeys(stem, direction);
    const std::vector<std::string_view> keys = text::characters(lower);
    bool targetLetters = false;
    bool compound = false;
    for (const std::string_view key : keys) {
        const bool letter = text::isLetterCharacter(converter_.convertKeys(key, direction));
        targetLetters = targetLetters || letter;
        compound = compound || !letter;
    }
    if (!targetLetters) {
        // A number or punctuation typed with the keys of the other layout (4б is 4, and 2ю19 is 2.19).
        std::string converted = converter_.convertKeys(stem, direction);
        if (converted == stem && parts.lead.empty() && parts.trail.empty()) return std::nullopt;
        return converted;
    }
    if (compound) {
        // A path, an option, a version, a word with an apostrophe (вщтэе, .вум.кфтвщь, ыуе-гыук-ШВ,
        // ШЗм6): the pieces between the keys that are punctuation on both layouts must be none of
        // them a word of its own layout (кто-то stays). The pieces between separator keys, each a
        // view of `lower`:
        const auto pieces = [&](const auto& separates) {
            std::vector<std::string_view> out;
            std::size_t begin = 0;
            for (std::size_t i = 0; i <= keys.size(); ++i) {
                if (i < keys.size() && !separates(keys[i])) continue;
                if (i > begin) out.push_back(between(lower, keys[begin], keys[i - 1]));
                begin = i + 1;
            }
            return out;
        };
        const auto isLetterOnBoth = [&](std::string_view key) {
            return text::isLetterCharacter(key) && text::isLetterCharacter(converter_.convertKeys(key, direction));
        };
        const auto isLetterOnNeither = [&](std::string_view key) {
            return !text::isLetterCharacter(key) && !text::isLetterCharacter(converter_.convertKeys(key, direction));
        };
        for (const std::string_view piece : pieces(isLetterOnNeither)) {
            if (isWord(piece, source)) return std::nullopt;
        }
        // The longest run of keys that are letters on both layouts, when it has three or more, must
        // read better converted (кфтвщь in .вум.кфтвщь; уюп is e.g).
        std::string_view longest;
        for (const std::string_view piece : pieces([&](std::string_view key) { return !isLetterOnBoth(key); })) {
            if (text::characterCount(piece) > text::characterCount(longest)) longest = piece;
        }
        if (text::characterCount(longest) > kLongestShortWord) {
            const DetectionResult result = detector_.evaluate(longest);
            if (result.direction != direction || !isWrongLayout(result.classification)) return std::nullopt;
        }
        return converter_.convertKeys(stem, direction);
    }
    // A word in mixed case on the Russian layout is English (ШВы is IDs).
    if (source == Language::russian && analyzer_.looksLikeCode(stem)) return converter_.convert(stem, direction);
    const std::string converted = converter_.convert(lower, direction);
    const bool sourceShortWord = shortWords(source).count(text::canonicalForm(lower)) != 0;
    if (analyzer_.looksLikeAbbreviation(stem) && parts.stemCharacters <= kLongestAbbreviationInContext) {
        // An abbreviation, unless it is a word of its own layout.
        if (sourceShortWord || isWord(lower, source)) return std::nullopt;
        return converter_.convert(stem, direction);
    }
    if (parts.stemCharacters <= kLongestShortWord) {
        // After a word corrected the same way, a short word reads in the language of the run, even a
        // letter or a word of its own layout (С is C, щк is or); before one, only a short word of the
        // other language that is none of its own; after a dash, an option (-ь is -m).
        const bool option = parts.lead == "-";
        if (sourceShortWord) return std::nullopt;
        if (!afterCorrection && !option && shortWords(target).count(text::canonicalForm(converted)) == 0) {
            return std::nullopt;
        }
        return converter_.convert(stem, direction);
    }
    if (isWord(lower, source)) {
        // A collision: both forms are words.
        if (!isWord(converted, target)) return std::nullopt;
        return converter_.convert(stem, direction);
    }
    // A word that the neighbours vouch for: the conversion only has to win.
    const DetectionResult result = detector_.evaluate(lower);
    if (result.direction != direction || !isWrongLayout(result.classification)) return std::nullopt;
    return converter_.convert(stem, direction);
}

RunVerdict RunningTextJudge::judge(const std::vector<RunWord>& run, std::string_view word, std::string_view delimiter,
                                   double sensitivity, const ExceptionWords& exceptions) {
    RunVerdict verdict;
    verdict.word = RunWord{std::string(word), std::string(word), std::string(delimiter), std::nullopt, std::nullopt};
    if (word.empty() || exceptions.count(text::comparisonKey(word)) != 0) return verdict;
    const std::optional<ConversionDirection> runLanguage = runDirection(run);
    const auto automatic = converter_.convertAutomatically(word);
    if (!automatic) {
        // Punctuation keys in a run of corrected words: the $ typed as ; on the Russian layout, the
        // full stop after a closing bracket.
        if (runLanguage && !hasLetter(word)) {
            const std::string converted = convertedGap(word, *runLanguage);
            if (converted != word) {
                RunDecision decision{*runLanguage, 0, std::string(word) + std::string(delimiter),
                                     converted + convertedGap(delimiter, *runLanguage), std::string(word), converted};
                verdict.word.text = converted;
                verdict.word.gap = convertedGap(delimiter, *runLanguage);
                verdict.decision = std::move(decision);
            }
        }
        return verdict;
    }
    const ConversionDirection direction = automatic->direction;
    const Language source = sourceLanguage(direction);
    const Language target = targetLanguage(direction);
    const bool afterCorrection = runLanguage == direction;
    // Code and options: a word glued by punctuation to a word left as typed (puts(buf)), or one that
    // starts like an option or a path (-lt, /regs), is left alone; in a run of corrected words an
    // option follows the run (-ь is -m).
    if (!run.empty() && !run.back().corrected && hasLetter(run.back().text) && !run.back().gap.empty() &&
        !hasWhiteSpace(run.back().gap)) {
        return verdict;
    }
    if ((word.starts_with('-') && !afterCorrection) || word.starts_with('/')) return verdict;

    // Split on the layout it was typed on: "it." is the word "it" and a full stop.
    const std::vector<std::string_view> keys = text::characters(word);
    const auto isPunctuation = [](std::string_view key) { return !isDigitKey(key) && !text::isLetterCharacter(key); };
    const std::size_t first = keys.empty() || !isPunctuation(keys.front()) ? 0 : 1;
    std::size_t last = keys.size();
    while (last > first && keys.size() - last < kMostTrailingKeys && isPunctuation(keys[last - 1])) --last;
    const bool sourceWord =
        isWord(word, source) || (last > first && (first > 0 || last < keys.size()) &&
                                 isWord(between(word, keys[first], keys[last - 1]), source));
    if (sourceWord) verdict.word.language = source;

    // Split on the other layout: "нщгю" is "нщг" and the key of the full stop.
    const std::optional<Parts> parts = otherLayoutParts(word, direction);
    std::string replaced;
    std::string mainStem;
    if (!parts) {
        // Nothing but punctuation on the other layout (ю after a closing bracket is the full stop).
        if (!afterCorrection) return verdict;
        replaced = converter_.convertKeys(word, direction);
        mainStem = replaced;
    } else {
        std::optional<std::string> stem;
        if (parts->stemCharacters > kLongestShortWord && !sourceWord) {
            stem = convertedWord(*parts, direction, sensitivity, exceptions);
            // After a word left as typed that reads as its own language, the run is in that
            // language: only a dictionary word is worth the change (Дес Шес stays).
            if (stem && !afterCorrection && readsAsSource(run, direction) &&
                !isWord(converter_.convert(lowerKeys(parts->stem, direction), direction), target)) {
                stem.reset();
            }
        }
        if (!stem && afterCorrection) stem = convertedInContext(*parts, direction, true, exceptions);
        if (!stem) return verdict;
        replaced = assembled(*parts, *stem, direction);
        mainStem = *stem;
    }
    const std::string gap = convertedGap(delimiter, direction);
    // Letters of neither layout (the Ukrainian І) convert to themselves: nothing to correct.
    if (replaced == word && gap == delimiter) return verdict;

    RunDecision decision;
    decision.direction = direction;
    decision.mainWord = std::string(parts ? parts->stem : word);
    decision.mainReplacement = mainStem;
    verdict.word.text = replaced;
    verdict.word.gap = gap;
    verdict.word.corrected = direction;
    verdict.word.language = target;

    // Words just before it that read right only now: short words, collisions, abbreviations, and
    // the numbers and punctuation between them.
    std::vector<std::string> pulledTexts;
    std::size_t pulledWords = 0;
    while (pulledWords < kMostPrecedingWords && pulledTexts.size() < run.size()) {
        const RunWord& before = run[run.size() - 1 - pulledTexts.size()];
        if (before.corrected || before.text != before.typed) break;
        if (!hasLetter(before.typed)) {
            pulledTexts.insert(pulledTexts.begin(), convertedGap(before.typed, direction));
            continue;
        }
        const auto beforeAutomatic = converter_.convertAutomatically(before.typed);
        if (!beforeAutomatic || beforeAutomatic->direction != direction) break;
        if (before.typed.starts_with('/')) break;
        const std::optional<Parts> beforeParts = otherLayoutParts(before.typed, direction);
        if (!beforeParts) break;
        const std::optional<std::string> beforeStem = convertedInContext(*beforeParts, direction, false, exceptions);
        if (!beforeStem) break;
        pulledTexts.insert(pulledTexts.begin(), assembled(*beforeParts, *beforeStem, direction));
        ++pulledWords;
    }
    // Words without letters are taken only between words that change.
    std::size_t pulled = pulledTexts.size();
    while (pulled > 0 && !hasLetter(run[run.size() - pulled].typed)) --pulled;
    pulledTexts.erase(pulledTexts.begin(), pulledTexts.end() - static_cast<std::ptrdiff_t>(pulled));
    for (std::size_t i = 0; i < pulled; ++i) {
        const RunWord& before = run[run.size() - pulled + i];
        RunWord after = before;
        after.text = pulledTexts[i];
        after.gap = convertedGap(before.gap, direction);
        if (hasLetter(before.typed)) {
            after.corrected = direction;
            after.language = target;
        }
        decision.expected += before.text + before.gap;
        decision.replacement += after.text + after.gap;
        verdict.rewritten.push_back(std::move(after));
    }
    decision.precedingWords = pulled;
    decision.wordCount = pulledWords + (hasLetter(replaced) ? 1 : 0);
    decision.expected += std::string(word) + std::string(delimiter);
    decision.replacement += replaced + gap;
    verdict.decision = std::move(decision);
    return verdict;
}

}  // namespace tarvelo
