// SPDX-License-Identifier: GPL-3.0-or-later
#include "running_accuracy.h"

#include <algorithm>
#include <optional>

#include "analysis/layout_converter.h"
#include "report_format.h"
#include "run_fixer.h"
#include "text/characters.h"
#include "text/properties.h"

namespace tarvelo::cli {
namespace {

constexpr std::size_t kEnglishToRussian = 0;
constexpr std::size_t kRussianToEnglish = 1;

std::vector<std::string_view> pieces(std::string_view sentence) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= sentence.size()) {
        const std::size_t space = std::min(sentence.find(' ', start), sentence.size());
        out.push_back(sentence.substr(start, space - start));
        start = space + 1;
    }
    return out;
}

bool hasLetter(std::string_view piece) {
    const auto characters = text::characters(piece);
    return std::any_of(characters.begin(), characters.end(), text::isLetterCharacter);
}

bool hasLatin(std::string_view piece) {
    return std::any_of(piece.begin(), piece.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

using Pairs = std::map<std::pair<std::string, std::string>, std::uint64_t>;

// Counts a sentence meant as `meant` that came out as `result`; `counts` hits the words that came
// out as meant when `restoring`, else the words that changed. Words of `onlyLatin` script only
// when it is set (for the mixed text).
void tally(std::string_view meant, std::string_view result, bool restoring, std::optional<bool> onlyLatin,
           RunningReading::Counts& counts, Pairs* failures) {
    ++counts.sentences;
    if (meant == result) ++counts.exactSentences;
    const auto before = pieces(meant);
    const auto after = pieces(result);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!hasLetter(before[i])) continue;
        if (onlyLatin && hasLatin(before[i]) != *onlyLatin) continue;
        ++counts.words;
        const bool same = i < after.size() && after[i] == before[i];
        if (same == restoring) ++counts.hits;
        if (failures && !same) ++(*failures)[{std::string(before[i]), i < after.size() ? std::string(after[i]) : ""}];
    }
}

using Samples = std::vector<std::pair<std::string, std::string>>;

void sample(Samples* samples, std::size_t most, std::string_view meant, std::string_view result) {
    if (samples && samples->size() < most && meant != result) samples->emplace_back(meant, result);
}

void appendSamples(std::string& out, const std::string& title, const Samples& samples) {
    out += "== " + title + " (" + std::to_string(samples.size()) + ")\n";
    for (const auto& [meant, result] : samples) out += "meant:    " + meant + "\ncame out: " + result + "\n\n";
}

std::string rate(const RunningReading::Counts& counts) { return percent(counts.hits, counts.words); }
std::string exactRate(const RunningReading::Counts& counts) { return percent(counts.exactSentences, counts.sentences); }

std::string directionName(std::size_t index) { return index == kEnglishToRussian ? "englishToRussian" : "russianToEnglish"; }

void appendFailures(std::string& out, const std::string& title, const Pairs& pairs, std::size_t top) {
    std::vector<std::pair<std::pair<std::string, std::string>, std::uint64_t>> sorted(pairs.begin(), pairs.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    if (sorted.size() > top) sorted.resize(top);
    out += "**" + title + "**\n\n";
    if (sorted.empty()) {
        out += "None.\n\n";
        return;
    }
    out += "| Meant | Came out | Times |\n|---|---|---:|\n";
    for (const auto& [pair, count] : sorted) {
        out += "| " + codeSpan(pair.first) + " | " + codeSpan(pair.second) + " | " + grouped(count) + " |\n";
    }
    out += '\n';
}

}  // namespace

const RunningReading& RunningAccuracy::reported() const {
    for (const auto& [at, reading] : readings) {
        if (at == sensitivity) return reading;
    }
    return readings.front().second;
}

void measureRunning(const RunningCorpora& corpora, RunFixer& fixer, const std::vector<double>& sensitivities,
                    RunningAccuracy& accuracy, const std::function<void()>& progress) {
    const LayoutConverter converter;
    for (const double sensitivity : sensitivities) {
        fixer.setSensitivity(sensitivity);
        RunningReading reading;
        const bool reported = sensitivity == accuracy.sensitivity;
        const auto run = [&](const std::vector<std::string>& sentences, std::size_t asTyped) {
            const std::size_t other = 1 - asTyped;
            for (const std::string& sentence : sentences) {
                // The keys that type the sentence on its own layout, pressed with the other one active.
                const std::string typed = converter.convertKeys(sentence, kAllConversionDirections[asTyped]);
                const std::string restored = fixer.fix(typed);
                tally(sentence, restored, true, std::nullopt, reading.restored[other],
                      reported ? &accuracy.misses[other] : nullptr);
                const std::string kept = fixer.fix(sentence);
                tally(sentence, kept, false, std::nullopt, reading.falseCorrections[asTyped],
                      reported ? &accuracy.changes[asTyped] : nullptr);
                if (reported) {
                    sample(&accuracy.missedSentences[other], accuracy.sentenceSamples, sentence, restored);
                    sample(&accuracy.changedSentences[asTyped], accuracy.sentenceSamples, sentence, kept);
                }
                progress();
            }
        };
        run(corpora.english, kEnglishToRussian);
        run(corpora.russian, kRussianToEnglish);
        for (const std::string& sentence : corpora.mixed) {
            const std::string result = fixer.fix(sentence);
            tally(sentence, result, false, true, reading.mixed[kEnglishToRussian],
                  reported ? &accuracy.mixedChanges : nullptr);
            tally(sentence, result, false, false, reading.mixed[kRussianToEnglish],
                  reported ? &accuracy.mixedChanges : nullptr);
            if (reported) sample(&accuracy.mixedSentences, accuracy.sentenceSamples, sentence, result);
            progress();
        }
        accuracy.readings.emplace_back(sensitivity, reading);
    }
}

std::string runningMarkdown(const RunningAccuracy& accuracy, std::size_t top) {
    std::string out = "## Running text, signals " + accuracy.signals + "\n\n";
    out += "| Sentence file | Sentences |\n|---|---:|\n";
    for (const auto& [path, sentences] : accuracy.corpora) out += "| " + codeSpan(path) + " | " + grouped(sentences) + " |\n";
    const RunningReading& reading = accuracy.reported();
    out += "\nAt the sensitivity " + shortest(accuracy.sensitivity) + ":\n\n";
    out += "| Direction | Words restored | Sentences restored exactly | False corrections, correct text | "
           "False corrections, mixed text |\n|---|---:|---:|---:|---:|\n";
    for (std::size_t d = 0; d < 2; ++d) {
        out += "| " + directionName(d) + " | " + rate(reading.restored[d]) + " of " + grouped(reading.restored[d].words) +
               " | " + exactRate(reading.restored[d]) + " of " + grouped(reading.restored[d].sentences) + " | " +
               rate(reading.falseCorrections[d]) + " of " + grouped(reading.falseCorrections[d].words) + " | " +
               rate(reading.mixed[d]) + " of " + grouped(reading.mixed[d].words) + " |\n";
    }
    out += "\nAcross the sensitivities (words restored / sentences exactly / false corrections on correct text / "
           "on mixed text):\n\n| Sensitivity | englishToRussian | russianToEnglish |\n|---:|---|---|\n";
    for (const auto& [sensitivity, r] : accuracy.readings) {
        out += "| " + shortest(sensitivity);
        for (std::size_t d = 0; d < 2; ++d) {
            out += " | " + rate(r.restored[d]) + " / " + exactRate(r.restored[d]) + " / " + rate(r.falseCorrections[d]) +
                   " / " + rate(r.mixed[d]);
        }
        out += " |\n";
    }
    out += '\n';
    for (std::size_t d = 0; d < 2; ++d) {
        appendFailures(out, directionName(d) + ": words not restored, most frequent", accuracy.misses[d], top);
        appendFailures(out, directionName(d) + ": words changed in correct text, most frequent", accuracy.changes[d], top);
    }
    appendFailures(out, "Words changed in mixed text, most frequent", accuracy.mixedChanges, top);
    return out;
}

std::string sentenceSamples(const RunningAccuracy& accuracy) {
    std::string out;
    for (std::size_t d = 0; d < 2; ++d) {
        appendSamples(out, directionName(d) + ": sentences not restored exactly", accuracy.missedSentences[d]);
        appendSamples(out, directionName(d) + ": correct sentences changed", accuracy.changedSentences[d]);
    }
    appendSamples(out, "mixed sentences changed", accuracy.mixedSentences);
    return out;
}

std::string runningTsv(const RunningAccuracy& accuracy) {
    std::string out = "direction\tmeasure\tsensitivity\twords\thits\tsentences\texact_sentences\trate\n";
    for (const auto& [sensitivity, reading] : accuracy.readings) {
        for (std::size_t d = 0; d < 2; ++d) {
            const std::pair<std::string_view, const RunningReading::Counts*> measures[] = {
                {"restored", &reading.restored[d]},
                {"false_corrections", &reading.falseCorrections[d]},
                {"mixed_false_corrections", &reading.mixed[d]}};
            for (const auto& [name, counts] : measures) {
                out += directionName(d) + "\t" + std::string(name) + "\t" + shortest(sensitivity) + "\t" +
                       std::to_string(counts->words) + "\t" + std::to_string(counts->hits) + "\t" +
                       std::to_string(counts->sentences) + "\t" + std::to_string(counts->exactSentences) + "\t" +
                       fraction(counts->hits, counts->words) + "\n";
            }
        }
    }
    return out;
}

}  // namespace tarvelo::cli
