// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "analysis/conversion_direction.h"
#include "analysis/language.h"
#include "analysis/language_detector.h"
#include "analysis/layout_converter.h"
#include "analysis/word_analyzer.h"
#include "pipeline/run_verdict.h"
#include "pipeline/run_word.h"

namespace tarvelo {

// Decides, at each word boundary, what to correct in the text of the current run. It sits above
// the single-word detector and adds what only the run shows:
//  - punctuation keys: a word is judged with its leading and trailing punctuation keys split off
//    (on the layout it was typed on and on the other), and the keys come back converted, the
//    closing key included (? becomes , on the Russian side, & becomes ?, and so on);
//  - a word of its own language with punctuation ("it.", "key.") stays;
//  - collisions: a word of its own language whose conversion is a word too ("tot", еще) is
//    corrected only next to a word corrected the same way; a word typed right in the other
//    language says nothing, for the text may be mixed ("привет, the world");
//  - context: next to a word corrected the same way (after it, or together with it in one span
//    when the later word is the one corrected), short words of one or two letters, collisions,
//    abbreviations and words whose conversion wins by any margin are corrected too;
//  - capitals: a word is scored by its lower-case keys; on its own, an all-caps word of up to six
//    letters is corrected only when it has four or more and becomes a dictionary word, so USB and
//    NASA stay.
// Platform-free and single-threaded, like the detector it uses.
class RunningTextJudge {
public:
    // At most this many short words before the closing word join its correction.
    static constexpr std::size_t kMostPrecedingWords = 2;

    // `detector` must outlive the judge.
    explicit RunningTextJudge(LanguageDetector& detector);

    // The verdict on `word`, closed by `delimiter` after the words of `run`, at the user's
    // sensitivity and with the user's exception words.
    RunVerdict judge(const std::vector<RunWord>& run, std::string_view word, std::string_view delimiter,
                     double sensitivity, const ExceptionWords& exceptions);

    // The lower-case English and Russian words of one or two letters that the short-word rule knows.
    const std::unordered_set<std::string>& shortWords(Language language) const;

    // `text` is a word of `language`: listed, or accepted by the spelling dictionary (three letters
    // or more), compared in lower case.
    bool isWord(std::string_view text, Language language);

private:
    struct Parts;

    std::optional<std::string> convertedWord(const Parts& parts, ConversionDirection direction, double sensitivity,
                                             const ExceptionWords& exceptions);
    // The word split on the layout it becomes; none when it is all punctuation there.
    std::optional<Parts> otherLayoutParts(std::string_view word, ConversionDirection direction) const;
    // The stem converted, the keys around it too.
    std::string assembled(const Parts& parts, const std::string& stem, ConversionDirection direction) const;
    // What a word becomes when a neighbour was corrected the same way: a short word of the other
    // language, a collision, an abbreviation, or a word whose conversion wins at all.
    // `afterCorrection`: the word before it was corrected the same way (else the word after it is).
    std::optional<std::string> convertedInContext(const Parts& parts, ConversionDirection direction,
                                                  bool afterCorrection, const ExceptionWords& exceptions);
    // The word before, left as typed on the same layout, reads as a word of that layout's language.
    bool readsAsSource(const std::vector<RunWord>& run, ConversionDirection direction);
    std::string convertedGap(std::string_view gap, ConversionDirection direction) const;
    std::string lowerKeys(std::string_view text, ConversionDirection direction) const;

    LanguageDetector& detector_;
    LayoutConverter converter_;
    WordAnalyzer analyzer_;
    std::unordered_set<std::string> englishShortWords_;
    std::unordered_set<std::string> russianShortWords_;
};

}  // namespace tarvelo
