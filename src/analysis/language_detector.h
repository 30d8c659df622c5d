// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "analysis/detection_result.h"
#include "analysis/language.h"
#include "analysis/layout_converter.h"
#include "analysis/word_analyzer.h"
#include "platform/language_recognizer.h"
#include "platform/spell_checker.h"

namespace tarvelo {

// Scores a token as typed against its layout conversion and says which side won.
//
// The score of a text in a language is a sum of four signals: 8.0 for a word of the built-in list or
// of the spelling dictionary, up to 4.0 for the share of common letter pairs, up to 3.0 for the
// recogniser's probability, minus penalties for no vowel (2.0) and for unlikely letter sequences
// (3.0 English, 2.5 Russian). Single-threaded: the spelling languages are read lazily on first use.
class LanguageDetector {
public:
    // `spellChecker` and `recognizer` must outlive the detector.
    LanguageDetector(LayoutConverter converter, SpellChecker& spellChecker, LanguageRecognizer& recognizer);
    LanguageDetector(const LanguageDetector&) = delete;
    LanguageDetector& operator=(const LanguageDetector&) = delete;

    // The verdict on a finished token; also tries it without up to three trailing ".,;" (which carry
    // ю, б and ж on the English layout) and keeps the stripped punctuation in `converted`.
    DetectionResult evaluateToken(std::string_view text);

    // One conversion and two scores.
    DetectionResult evaluate(std::string_view text);

    // How plausible `text` (any case) is as a word of `language`.
    double score(std::string_view text, Language as);

    // The platform dictionary accepts the lower-cased `text` as one or more words of `language`.
    bool isCorrectlySpelled(std::string_view text, Language language);

    // 2.0 when the lower-cased `text` has no vowel of the language, plus the language's sequence
    // penalty once when it contains any of its unlikely sequences.
    double unlikelySequencePenalty(std::string_view text, Language language) const;

    const LayoutConverter& converter() const { return converter_; }
    const std::unordered_set<std::string>& englishWords() const { return englishWords_; }
    const std::unordered_set<std::string>& russianWords() const { return russianWords_; }
    const std::unordered_set<std::string>& englishNGrams() const { return englishNGrams_; }
    const std::unordered_set<std::string>& russianNGrams() const { return russianNGrams_; }

private:
    const std::vector<std::string>& spellingLanguages();
    bool isSpelledInLowerCase(const std::string& lower, Language language);
    double penaltyForKey(const std::string& key, const std::vector<std::string_view>& characters,
                         Language language) const;

    LayoutConverter converter_;
    SpellChecker& spellChecker_;
    LanguageRecognizer& recognizer_;
    std::optional<std::vector<std::string>> spellingLanguages_;
    std::unordered_set<std::string> englishWords_;
    std::unordered_set<std::string> russianWords_;
    std::unordered_set<std::string> englishNGrams_;
    std::unordered_set<std::string> russianNGrams_;
    WordAnalyzer analyzer_;
};

}  // namespace tarvelo
