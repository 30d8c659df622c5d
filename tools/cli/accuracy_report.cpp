// SPDX-License-Identifier: GPL-3.0-or-later
#include "accuracy_report.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "pipeline/word_buffer.h"
#include "report_format.h"
#include "text/characters.h"
#include "token_judge.h"

namespace tarvelo::cli {
namespace {

std::string_view languageName(Language language) { return language == Language::english ? "English" : "Russian"; }

std::string bold(const std::string& text) { return "**" + text + "**"; }

void appendCorpora(std::string& out, const AccuracyReport& report) {
    out += "| Corpus | File | Words | Distinct words | Left out: other scripts, mixed or no letters |\n";
    out += "|---|---|---:|---:|---:|\n";
    for (const AccuracyReport::Corpus& corpus : report.corpora) {
        out += "| " + std::string(languageName(corpus.language)) + " | " + codeSpan(corpus.path) + " | " +
               grouped(corpus.words) + " | " + grouped(corpus.distinctWords) + " | " + grouped(corpus.otherWords) +
               " (" + grouped(corpus.otherDistinctWords) + " distinct) |\n";
    }
    out += '\n';
}

void appendCountRow(std::string& out, const std::string& label, const AccuracyTally::Count& count) {
    out += "| " + label + " | " + grouped(count.occurrences) + " | " + grouped(count.distinct) + " |\n";
}

void appendSummary(std::string& out, const DirectionAccuracy& accuracy, double sensitivity) {
    const std::string source(languageName(sourceLanguage(accuracy.direction)));
    const std::string target(languageName(targetLanguage(accuracy.direction)));
    out += "| | Words | Distinct words |\n|---|---:|---:|\n";
    if (accuracy.falseCorrections.empty()) {
        out += "| " + source + " words typed correctly: no " + source + " corpus | | |\n";
    } else {
        const AccuracyTally::Reading reading = accuracy.falseCorrections.overall(sensitivity);
        appendCountRow(out, source + " words typed correctly", reading.words);
        appendCountRow(out, "… rejected by the word filter", reading.rejected);
        appendCountRow(out, "… changed into " + target + ": false corrections", reading.hits);
        out += "| " + bold("False-correction rate") + " | " +
               bold(percent(reading.hits.occurrences, reading.words.occurrences)) + " | " +
               bold(percent(reading.hits.distinct, reading.words.distinct)) + " |\n";
    }
    if (accuracy.recall.empty()) {
        out += "| " + target + " words typed on the " + source + " layout: no " + target + " corpus | | |\n";
    } else {
        const AccuracyTally::Reading reading = accuracy.recall.overall(sensitivity);
        appendCountRow(out, target + " words typed on the " + source + " layout", reading.words);
        appendCountRow(out, "… rejected by the word filter", reading.rejected);
        appendCountRow(out, "… turned back into exactly the word: fixed", reading.hits);
        out += "| " + bold("Recall") + " | " + bold(percent(reading.hits.occurrences, reading.words.occurrences)) +
               " | " + bold(percent(reading.hits.distinct, reading.words.distinct)) + " |\n";
    }
    out += '\n';
}

void appendByLength(std::string& out, const AccuracyTally& tally, double sensitivity, const std::string& title,
                    const std::string& hits, const std::string& rate) {
    if (tally.empty()) return;
    out += title + "\n\n";
    out += "| Length | Words | " + hits + " | " + rate + " | Distinct words | " + hits + " | " + rate + " |\n";
    out += "|---|---:|---:|---:|---:|---:|---:|\n";
    const auto readings = tally.byLength(sensitivity);
    for (std::size_t lengthClass = 0; lengthClass < readings.size(); ++lengthClass) {
        const AccuracyTally::Reading& r = readings[lengthClass];
        out += "| " + std::string(AccuracyTally::lengthClassName(lengthClass)) + " | " + grouped(r.words.occurrences) +
               " | " + grouped(r.hits.occurrences) + " | " + percent(r.hits.occurrences, r.words.occurrences) + " | " +
               grouped(r.words.distinct) + " | " + grouped(r.hits.distinct) + " | " +
               percent(r.hits.distinct, r.words.distinct) + " |\n";
    }
    out += '\n';
}

void appendSweep(std::string& out, const DirectionAccuracy& accuracy, double reported) {
    out += "Across sensitivities (the reported one in bold):\n\n";
    out += "| Sensitivity | Required margin | False corrections | Distinct | Recall | Distinct |\n";
    out += "|---:|---:|---:|---:|---:|---:|\n";
    for (const double sensitivity : AccuracyTally::sweepSensitivities(reported)) {
        const AccuracyTally::Reading wrong = accuracy.falseCorrections.overall(sensitivity);
        const AccuracyTally::Reading fixedWords = accuracy.recall.overall(sensitivity);
        std::vector<std::string> cells{shortest(sensitivity),
                                       fixed(requiredMargin(sensitivity), 3),
                                       percent(wrong.hits.occurrences, wrong.words.occurrences),
                                       percent(wrong.hits.distinct, wrong.words.distinct),
                                       percent(fixedWords.hits.occurrences, fixedWords.words.occurrences),
                                       percent(fixedWords.hits.distinct, fixedWords.words.distinct)};
        out += '|';
        for (const std::string& cell : cells) out += ' ' + (sensitivity == reported ? bold(cell) : cell) + " |";
        out += '\n';
    }
    out += '\n';
}

// The `top` most frequent of `outcomes`, equally frequent ones by the word's bytes.
std::vector<const WordOutcome*> mostFrequent(const std::vector<WordOutcome>& outcomes, std::size_t top) {
    std::vector<const WordOutcome*> sorted;
    sorted.reserve(outcomes.size());
    for (const WordOutcome& outcome : outcomes) sorted.push_back(&outcome);
    const auto end = sorted.begin() + static_cast<std::ptrdiff_t>(std::min(top, sorted.size()));
    std::partial_sort(sorted.begin(), end, sorted.end(), [](const WordOutcome* a, const WordOutcome* b) {
        return a->occurrences != b->occurrences ? a->occurrences > b->occurrences : a->word < b->word;
    });
    sorted.erase(end, sorted.end());
    return sorted;
}

// The first character of `typed` that ends a word, if any.
std::optional<std::string_view> boundaryIn(std::string_view typed) {
    for (const std::string_view character : text::characters(typed)) {
        if (WordBuffer::isBoundary(character)) return character;
    }
    return std::nullopt;
}

// Why a word typed on the wrong layout did not come back as it was meant. Its keys were judged as one
// token; one that holds a key ending a word is cut there as it is typed, and cannot come back whole
// either way.
std::string missReason(std::string_view typed, const TokenVerdict& verdict, double sensitivity) {
    if (const auto boundary = boundaryIn(typed)) return "cut in two: " + codeSpan(*boundary) + " ends a word";
    if (!verdict.analyzed) return "rejected by the word filter";
    if (!verdict.result.direction) return "no layout to convert from";
    if (!verdict.wrongLayout) return "left: scores higher as typed (margin " + fixed(verdict.margin, 2) + ")";
    if (!meetsRequiredMargin(verdict.margin, sensitivity)) {
        return "left: margin " + fixed(verdict.margin, 2) + " below " + fixed(requiredMargin(sensitivity), 3);
    }
    return "changed to " + codeSpan(verdict.result.converted);
}

void appendFailures(std::string& out, const DirectionAccuracy& accuracy, double sensitivity, std::size_t top) {
    if (top == 0) return;
    if (!accuracy.falseCorrections.empty()) {
        out += "Most frequent false corrections (distinct words: " + grouped(accuracy.changed.size()) + "):\n\n";
        if (accuracy.changed.empty()) {
            out += "None.\n\n";
        } else {
            out += "| Word | Count | Changed to | Margin |\n|---|---:|---|---:|\n";
            for (const WordOutcome* outcome : mostFrequent(accuracy.changed, top)) {
                out += "| " + codeSpan(outcome->word) + " | " + grouped(outcome->occurrences) + " | " +
                       codeSpan(outcome->verdict.result.converted) + " | " + fixed(outcome->verdict.margin, 2) + " |\n";
            }
            out += '\n';
        }
    }
    if (!accuracy.recall.empty()) {
        out += "Most frequent misses (distinct words: " + grouped(accuracy.missed.size()) + "):\n\n";
        if (accuracy.missed.empty()) {
            out += "None.\n\n";
        } else {
            out += "| Word | Typed as | Count | What the engine does |\n|---|---|---:|---|\n";
            for (const WordOutcome* outcome : mostFrequent(accuracy.missed, top)) {
                out += "| " + codeSpan(outcome->word) + " | " + codeSpan(outcome->typed) + " | " +
                       grouped(outcome->occurrences) + " | " + missReason(outcome->typed, outcome->verdict, sensitivity) + " |\n";
            }
            out += '\n';
        }
    }
}

void appendTsvRows(std::string& out, ConversionDirection direction, std::string_view measure, const AccuracyTally& tally,
                   double sensitivity) {
    if (tally.empty()) return;
    const auto byLength = tally.byLength(sensitivity);
    const auto row = [&](std::string_view length, const AccuracyTally::Reading& r) {
        out += std::string(rawValue(direction)) + '\t' + std::string(measure) + '\t' + shortest(sensitivity) + '\t' +
               fixed(requiredMargin(sensitivity), 4) + '\t' + std::string(length) + '\t' +
               std::to_string(r.words.occurrences) + '\t' + std::to_string(r.words.distinct) + '\t' +
               std::to_string(r.rejected.occurrences) + '\t' + std::to_string(r.rejected.distinct) + '\t' +
               std::to_string(r.hits.occurrences) + '\t' + std::to_string(r.hits.distinct) + '\t' +
               fraction(r.hits.occurrences, r.words.occurrences) + '\t' +
               fraction(r.hits.distinct, r.words.distinct) + '\n';
    };
    AccuracyTally::Reading all;
    for (const AccuracyTally::Reading& reading : byLength) all += reading;
    row("all", all);
    for (std::size_t lengthClass = 0; lengthClass < byLength.size(); ++lengthClass) {
        row(AccuracyTally::lengthClassName(lengthClass), byLength[lengthClass]);
    }
}

}  // namespace

std::string markdownReport(const AccuracyReport& report, std::size_t top) {
    std::string out = "## Signals: " + report.signals + "\n\n";
    out += "Read at sensitivity " + shortest(report.sensitivity) +
           ": a word is converted when its conversion outscores it by at least " +
           fixed(requiredMargin(report.sensitivity), 3) + ".\n\n";
    appendCorpora(out, report);
    for (const DirectionAccuracy& accuracy : report.directions) {
        const std::string source(languageName(sourceLanguage(accuracy.direction)));
        out += "### " + std::string(rawValue(accuracy.direction)) + ": typing on the " + source + " layout\n\n";
        appendSummary(out, accuracy, report.sensitivity);
        appendByLength(out, accuracy.falseCorrections, report.sensitivity,
                       "False corrections by word length (characters, punctuation included):", "Changed", "Rate");
        appendByLength(out, accuracy.recall, report.sensitivity, "Recall by word length:", "Fixed", "Recall");
        appendSweep(out, accuracy, report.sensitivity);
        appendFailures(out, accuracy, report.sensitivity, top);
    }
    return out;
}

std::string tsvReport(const AccuracyReport& report) {
    std::string out =
        "direction\tmeasure\tsensitivity\trequired_margin\tlength\twords\tdistinct_words\trejected\t"
        "distinct_rejected\thits\tdistinct_hits\trate\tdistinct_rate\n";
    for (const DirectionAccuracy& accuracy : report.directions) {
        for (const double sensitivity : AccuracyTally::sweepSensitivities(report.sensitivity)) {
            appendTsvRows(out, accuracy.direction, "false_corrections", accuracy.falseCorrections, sensitivity);
            appendTsvRows(out, accuracy.direction, "recall", accuracy.recall, sensitivity);
        }
    }
    return out;
}

}  // namespace tarvelo::cli
