// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "accuracy_report.h"
#include "analysis/layout_converter.h"
#include "arguments.h"
#include "command_error.h"
#include "commands.h"
#include "corpus_words.h"
#include "progress_meter.h"
#include "run_fixer.h"
#include "running_accuracy.h"
#include "text/characters.h"
#include "text/normalization.h"
#include "token_judge.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kHelp = R"(Usage: tarvelo-cli eval [--en FILE] [--ru FILE] [OPTION...]
       tarvelo-cli eval --mode running [--en FILE] [--ru FILE] [--mixed FILE] [OPTION...]

Measures how the typing engine treats real running text: how often it would
change a word that was typed correctly (false corrections), and how often it
would turn a word typed on the wrong layout back into exactly that word
(recall). Each FILE holds UTF-8 running text in English (--en) or Russian
(--ru); give one or both.

A FILE is cut into words where the engine ends a word: at white space and at
! ? " ( ) : (full stops, commas and the like stay inside the word). Only the
words in the file's own script count: English words have letters A-Z and no
Cyrillic ones, Russian words Cyrillic letters and none of A-Z.

  englishToRussian  false corrections: English words that would be changed;
                    recall: Russian words typed with the keys that give them
                    on the English layout (люблю as k.,k.) that would come
                    back exactly
  russianToEnglish  the same with the two languages the other way round

A word that the word filter rejects (shorter than 3 characters, digits,
addresses, code-like, ...) is never changed: it is never a false correction,
and a word typed on the wrong layout that it rejects is a miss. So is one that
comes back different from the word meant, even by one punctuation mark.

Each distinct word is judged once; the results are read at the sensitivity S
and at every sensitivity from 0 to 1 in steps of 0.05 from the same margins.

With --mode running, each FILE holds sentences, one to a line, and each
sentence is typed as one run and judged as the engine judges it, word by word
with the words before it (as tarvelo-cli fix does):

  words restored    a sentence of the target language typed on the source
                    layout, every key (the shifted digit row included): the
                    share of its words that come back exactly, and the share
                    of sentences that come back exactly
  false corrections the share of words of correct sentences of the source
                    language that change
  mixed text        the share of words of correct Russian sentences with
                    English terms (--mixed FILE) that change: the English
                    words for englishToRussian, the Russian for the other

The readings are taken at 0, 0.25, 0.5, 0.9, 1 and the sensitivity S.

Options:
  --mode M          words (the default) or running
  --mixed FILE      Russian sentences with English terms (--mode running)
  --en FILE         English running text
  --ru FILE         Russian running text
  --signals system  score with the built-in lists, the hunspell dictionaries
                    (through Enchant) and the letter-model recogniser, as the
                    application does (the default)
  --signals none    score with the built-in word and letter-pair lists alone
  --sensitivity S   the sensitivity of the summary, the tables by length and
                    the lists of failures (0 to 1, default 0.72)
  --format F        markdown (the default) or tsv: data for plotting, one row
                    for each direction, measure, sensitivity and word length
  --data FILE       write the tsv data to FILE as well
  --top N           list the N most frequent failures of each kind (default 20)
  --sentences N     with --mode running, write to standard error the first N
                    sentences of each kind that did not come out as meant,
                    each as meant and as it came out (default 0: none)
  -h, --help        show this help

Progress goes to standard error once there are 10,000 words or more to judge.
A FILE that cannot be read or is not well-formed UTF-8 ends the command with
status 2 before anything is written.
)";

constexpr std::size_t kDefaultTop = 20;

enum class Format { markdown, tsv };

Format parseFormat(std::string_view value) {
    if (value == "markdown") return Format::markdown;
    if (value == "tsv") return Format::tsv;
    throw CommandError(ErrorKind::usage, "--format must be 'markdown' or 'tsv', not '" + std::string(value) + "'");
}

std::size_t parseCount(std::string_view option, std::string_view value) {
    std::size_t count = 0;
    const char* const end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, count);
    if (value.empty() || error != std::errc() || stop != end) {
        throw CommandError(ErrorKind::usage,
                           "--" + std::string(option) + " must be a whole number, not '" + std::string(value) + "'");
    }
    return count;
}

std::string_view signalSourceName(SignalSource source) {
    switch (source) {
        case SignalSource::none: return "none";
        case SignalSource::system: return "system";
    }
    return "unknown";
}

struct NamedCorpus {
    Language language;
    std::string path;
};

// Judges every distinct word of `corpus` twice: as typed, for the false corrections of the direction
// from its language, and as typed on the other layout, for the recall of the opposite direction.
void judgeCorpus(const CorpusWords& corpus, TokenJudge& judge, AccuracyReport& report, ProgressMeter& progress) {
    const LayoutConverter converter;
    const bool english = corpus.language() == Language::english;
    DirectionAccuracy& asTyped = report.directions[english ? 0 : 1];
    DirectionAccuracy& onOtherLayout = report.directions[english ? 1 : 0];

    for (const CorpusWords::Word& word : corpus.words()) {
        const std::size_t characters = text::characterCount(word.text);

        TokenVerdict verdict = judge.judge(word.text);
        asTyped.falseCorrections.add(characters, word.occurrences, verdict.analyzed,
                                     verdict.wrongLayout ? std::optional(verdict.margin) : std::nullopt);
        if (verdict.correct) asTyped.changed.push_back({word.text, word.text, word.occurrences, std::move(verdict)});

        // The keys that type the word on its own layout, pressed with the other layout active.
        std::string typed = converter.convert(word.text, asTyped.direction);
        TokenVerdict fix = judge.judge(typed);
        const bool exact = fix.wrongLayout && text::canonicallyEqual(fix.result.converted, word.text);
        onOtherLayout.recall.add(characters, word.occurrences, fix.analyzed,
                                 exact ? std::optional(fix.margin) : std::nullopt);
        if (!(exact && fix.correct)) {
            onOtherLayout.missed.push_back({word.text, std::move(typed), word.occurrences, std::move(fix)});
        }
        progress.advance(2);
    }
}

std::vector<std::string> sentenceLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

int runRunningEval(const Arguments& parsed, const Io& io) {
    RunningAccuracy accuracy;
    const SignalSource signals = signalSourceOption(parsed);
    accuracy.signals = signalSourceName(signals);
    accuracy.sensitivity = sensitivityOption(parsed);
    const auto topOption = parsed.option("top");
    const std::size_t top = topOption ? parseCount("top", *topOption) : kDefaultTop;
    const auto formatOption = parsed.option("format");
    const Format format = formatOption ? parseFormat(*formatOption) : Format::markdown;

    if (const auto samples = parsed.option("sentences")) accuracy.sentenceSamples = parseCount("sentences", *samples);

    RunningCorpora corpora;
    const std::pair<std::string_view, std::vector<std::string>*> files[] = {
        {"en", &corpora.english}, {"ru", &corpora.russian}, {"mixed", &corpora.mixed}};
    for (const auto& [name, sentences] : files) {
        if (const auto path = parsed.option(name)) {
            *sentences = sentenceLines(readWellFormedFile(std::string(*path)));
            accuracy.corpora.emplace_back(std::string(*path), sentences->size());
        }
    }
    if (accuracy.corpora.empty()) {
        throw CommandError(ErrorKind::usage, "give sentence files: --en FILE, --ru FILE, --mixed FILE");
    }

    std::vector<double> sensitivities{0.0, 0.25, 0.5, 0.9, 1.0, accuracy.sensitivity};
    std::sort(sensitivities.begin(), sensitivities.end());
    sensitivities.erase(std::unique(sensitivities.begin(), sensitivities.end()), sensitivities.end());
    const std::uint64_t total =
        sensitivities.size() * (corpora.english.size() + corpora.russian.size() + corpora.mixed.size());
    RunFixer fixer(makeSignals(signals), accuracy.sensitivity);
    ProgressMeter progress(io.err, io.errIsTerminal, "tarvelo-cli eval: sentences typed", total);
    measureRunning(corpora, fixer, sensitivities, accuracy, [&] { progress.advance(); });
    progress.finish();

    const std::string data = runningTsv(accuracy);
    if (const auto dataPath = parsed.option("data")) writeFile(std::string(*dataPath), data);
    writeOutput(io.out, format == Format::tsv ? data : runningMarkdown(accuracy, top));
    if (accuracy.sentenceSamples > 0) writeOutput(io.err, sentenceSamples(accuracy));
    return kExitSuccess;
}

}  // namespace

int runEval(std::span<const std::string_view> arguments, const Io& io) {
    const Arguments parsed = parseArguments(
        arguments, {.valueOptions = {"en", "ru", "mixed", "mode", "signals", "sensitivity", "format", "data", "top",
                                     "sentences"},
                    .acceptsOperands = false});
    if (parsed.help) {
        writeOutput(io.out, kHelp);
        return kExitSuccess;
    }
    const auto mode = parsed.option("mode");
    if (mode && *mode != "words" && *mode != "running") {
        throw CommandError(ErrorKind::usage, "--mode must be 'words' or 'running', not '" + std::string(*mode) + "'");
    }
    if (mode && *mode == "running") return runRunningEval(parsed, io);
    if (parsed.option("mixed")) throw CommandError(ErrorKind::usage, "--mixed needs --mode running");
    if (parsed.option("sentences")) throw CommandError(ErrorKind::usage, "--sentences needs --mode running");

    std::vector<NamedCorpus> named;
    if (const auto path = parsed.option("en")) named.push_back({Language::english, std::string(*path)});
    if (const auto path = parsed.option("ru")) named.push_back({Language::russian, std::string(*path)});
    if (named.empty()) throw CommandError(ErrorKind::usage, "give an English corpus (--en FILE), a Russian one (--ru FILE) or both");
    const SignalSource signals = signalSourceOption(parsed);
    const double sensitivity = sensitivityOption(parsed);
    const auto formatOption = parsed.option("format");
    const Format format = formatOption ? parseFormat(*formatOption) : Format::markdown;
    const auto topOption = parsed.option("top");
    const std::size_t top = topOption ? parseCount("top", *topOption) : kDefaultTop;
    const auto dataPath = parsed.option("data");

    AccuracyReport report;
    report.signals = signalSourceName(signals);
    report.sensitivity = sensitivity;
    report.directions[0].direction = ConversionDirection::englishToRussian;
    report.directions[1].direction = ConversionDirection::russianToEnglish;

    // Every file is read and checked before any judging starts.
    std::vector<CorpusWords> corpora;
    for (const NamedCorpus& corpus : named) {
        corpora.emplace_back(readWellFormedFile(corpus.path), corpus.language);
        const CorpusWords& words = corpora.back();
        report.corpora.push_back({corpus.language, corpus.path, words.occurrences(), words.words().size(),
                                  words.otherOccurrences(), words.otherDistinct()});
    }

    std::uint64_t total = 0;
    for (const CorpusWords& corpus : corpora) total += 2 * corpus.words().size();
    TokenJudge judge(makeSignals(signals), sensitivity);
    ProgressMeter progress(io.err, io.errIsTerminal, "tarvelo-cli eval: words judged", total);
    for (const CorpusWords& corpus : corpora) judgeCorpus(corpus, judge, report, progress);
    progress.finish();

    const std::string data = tsvReport(report);
    if (dataPath) writeFile(std::string(*dataPath), data);
    writeOutput(io.out, format == Format::tsv ? data : markdownReport(report, top));
    return kExitSuccess;
}

}  // namespace tarvelo::cli
