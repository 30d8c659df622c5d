// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/language.h"
#include "direction_accuracy.h"

namespace tarvelo::cli {

// What `tarvelo-cli eval` found, ready to be written as Markdown or as data for plotting.
struct AccuracyReport {
    struct Corpus {
        Language language = Language::english;
        std::string path;
        // Words of the corpus's language, with repeats and distinct.
        std::uint64_t words = 0;
        std::uint64_t distinctWords = 0;
        // Words of neither script or of both, left out of every measure.
        std::uint64_t otherWords = 0;
        std::uint64_t otherDistinctWords = 0;
    };

    // The name of the spelling and recogniser signals the scores used ("none", "system").
    std::string signals;
    // The sensitivity at which the tables and the lists of failures are read.
    double sensitivity = 0.0;
    std::vector<Corpus> corpora;
    // englishToRussian, then russianToEnglish.
    std::array<DirectionAccuracy, 2> directions;
};

// The tables for people: corpora, both directions at the reported sensitivity, by word length and
// across the sensitivities, and the `top` most frequent false corrections and misses.
std::string markdownReport(const AccuracyReport& report, std::size_t top);

// Tab-separated values with a header line: one row for each direction, measure, sensitivity and
// length class ("all" for every length), for plotting.
std::string tsvReport(const AccuracyReport& report);

}  // namespace tarvelo::cli
