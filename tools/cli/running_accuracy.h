// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "analysis/conversion_direction.h"

namespace tarvelo::cli {

class RunFixer;

// How the typing engine treats whole sentences, each typed as one run, at one sensitivity.
struct RunningReading {
    struct Counts {
        std::uint64_t sentences = 0;
        // Sentences that came out exactly as meant (restoring) or untouched (correct text).
        std::uint64_t exactSentences = 0;
        // Words: white-space separated pieces with a letter.
        std::uint64_t words = 0;
        // Words that came back exactly as meant (restoring) or were changed (correct text).
        std::uint64_t hits = 0;
    };
    // englishToRussian, then russianToEnglish.
    // Sentences of the target language typed on the source layout.
    std::array<Counts, 2> restored;
    // Correct sentences of the source language.
    std::array<Counts, 2> falseCorrections;
    // Correct Russian sentences with English terms; hits are changed words of the direction's source
    // script (English terms for englishToRussian).
    std::array<Counts, 2> mixed;
};

// What `tarvelo-cli eval --running` found.
struct RunningAccuracy {
    std::string signals;
    double sensitivity = 0.0;
    // The sentence files and how many sentences each holds.
    std::vector<std::pair<std::string, std::uint64_t>> corpora;
    // Ascending, the reported one among them.
    std::vector<std::pair<double, RunningReading>> readings;
    // At the reported sensitivity, with how often: words not restored (meant, came out) and words
    // changed in correct text (typed, came out), for each direction, and words changed in mixed text.
    std::array<std::map<std::pair<std::string, std::string>, std::uint64_t>, 2> misses;
    std::array<std::map<std::pair<std::string, std::string>, std::uint64_t>, 2> changes;
    std::map<std::pair<std::string, std::string>, std::uint64_t> mixedChanges;
    // At the reported sensitivity, the first `sentenceSamples` sentences (meant, came out) of each
    // kind that did not come out as meant: typed on the other layout, for each direction; typed
    // correctly, for each direction from its language; mixed.
    std::size_t sentenceSamples = 0;
    std::array<std::vector<std::pair<std::string, std::string>>, 2> missedSentences;
    std::array<std::vector<std::pair<std::string, std::string>>, 2> changedSentences;
    std::vector<std::pair<std::string, std::string>> mixedSentences;

    const RunningReading& reported() const;
};

// The sentences of each file, one to a line; empty lines are skipped.
struct RunningCorpora {
    std::vector<std::string> english;
    std::vector<std::string> russian;
    std::vector<std::string> mixed;
};

// Types every sentence as one run, at each of `sensitivities`: each sentence of a language on the
// other layout (every key, the shifted digit row included) and as it is, and each mixed sentence as
// it is. Calls `progress` after each sentence.
void measureRunning(const RunningCorpora& corpora, RunFixer& fixer, const std::vector<double>& sensitivities,
                    RunningAccuracy& accuracy, const std::function<void()>& progress);

// The tables for people, and data for plotting (direction, measure, sensitivity, rate).
std::string runningMarkdown(const RunningAccuracy& accuracy, std::size_t top);
// The sampled sentences, each as meant and as it came out.
std::string sentenceSamples(const RunningAccuracy& accuracy);
std::string runningTsv(const RunningAccuracy& accuracy);

}  // namespace tarvelo::cli
