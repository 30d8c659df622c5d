// SPDX-License-Identifier: GPL-3.0-or-later
// tarvelo-train-model: builds the letter model of the language recogniser (data/letter_model.txt) from
// dictionary word lists, fits its calibration on held-out words, and reports how well it is calibrated.
// The same word lists always give the same bytes. scripts/generate-model runs it on the Debian packages.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/layout_converter.h"
#include "logistic_calibration_fit.h"
#include "platform/linux/language/letter_model.h"
#include "platform/linux/language/letter_model_file.h"
#include "reliability_table.h"
#include "text/utf8.h"
#include "word_list.h"

namespace tarvelo::model {
namespace {

constexpr std::string_view kUsage = R"(Usage: tarvelo-train-model --english FILE... --russian FILE... --output FILE
                            [--source TEXT...] [--report FILE] [--background-log-weight W]

Builds the letter trigram model of the language recogniser from word lists (one word
per line, UTF-8; each option may be given more than once):

  --english FILE  English words (hunspell unmunch output, /usr/share/dict lists)
  --russian FILE  Russian words
  --source TEXT   a line for the model's header naming where the words come from
                  (package and version)
  --output FILE   where to write the model
  --report FILE   where to write the calibration report (Markdown)
  --background-log-weight W
                  ln of the background's weight in the alternative to a real
                  word (default 1.0, the value the model is built with)

A tenth of the words, chosen by a hash of each word, is kept back: the calibration
is fitted on it, and the report shows how the calibrated probabilities compare with
what is observed there.
)";

// ln of the background's share in the alternative to a real word (LetterModelCalibration). Chosen on
// the man-page corpora of `tarvelo-cli eval` (docs/recognizer.md); the held-out words cannot choose it,
// as none of them is shapeless.
constexpr double kBackgroundLogWeight = 1.0;

constexpr std::u32string_view kEnglishAlphabet = U"abcdefghijklmnopqrstuvwxyz'-";
constexpr std::u32string_view kRussianAlphabet = U"абвгдежзийклмнопрстуфхцчшщъыьэюя'-";

struct Options {
    std::vector<std::string> english;
    std::vector<std::string> russian;
    std::vector<std::string> sources;
    std::string output;
    std::string report;
    double backgroundLogWeight = kBackgroundLogWeight;
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (i + 1 >= argc) return std::nullopt;
        const std::string value = argv[++i];
        if (name == "--english") {
            options.english.push_back(value);
        } else if (name == "--russian") {
            options.russian.push_back(value);
        } else if (name == "--source") {
            options.sources.push_back(value);
        } else if (name == "--output") {
            options.output = value;
        } else if (name == "--report") {
            options.report = value;
        } else if (name == "--background-log-weight") {
            const char* const end = value.data() + value.size();
            const auto [stop, error] = std::from_chars(value.data(), end, options.backgroundLogWeight);
            if (value.empty() || error != std::errc() || stop != end) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (options.english.empty() || options.russian.empty() || options.output.empty()) return std::nullopt;
    return options;
}

// A language being built: its alphabet, all its words, and the model's description.
struct LanguageData {
    std::string name;
    desktop::LetterModelDescription description;
    std::optional<desktop::LetterAlphabet> alphabet;
    WordSet words;
    std::size_t skipped = 0;
};

// `word` typed with the keys of the other layout, as this alphabet reads the result.
std::optional<std::u32string> typedOnOtherLayout(const std::u32string& word, ConversionDirection direction,
                                                 const desktop::LetterAlphabet& alphabet) {
    static const LayoutConverter converter;
    return wordOf(converter.convert(text::fromScalars(word), direction), alphabet);
}

// A form in which a word turns up in typed text, with how often relative to the word's other forms.
struct WeightedForm {
    std::u32string text;
    std::uint64_t weight;
};

// A word alone counts kPlainWeight; each of its other forms counts less, as it is typed less often.
constexpr std::uint64_t kPlainWeight = 8;

// In running text a word is often followed by a full stop, comma or semicolon, and those keys give
// letters on the Russian layout (ю, б, ж): "type." typed there reads "ензую". Each punctuated form
// counts 1 against the word's kPlainWeight, about how often a word ends a clause.
constexpr std::u32string_view kFollowingPunctuation = U".,;";
constexpr std::uint64_t kPunctuatedWeight = 1;

// Lower-case abbreviations are common in English technical text ("cntrl", "txt", "nfds") and look
// like nothing in a dictionary; most are the consonant skeleton of a word. English tokens therefore
// include each word's skeleton at this weight, both in the English word model and, typed on the
// Russian layout, in the Russian reference. Chosen on the man-page corpora (docs/recognizer.md).
constexpr std::uint64_t kAbbreviationWeight = 4;

// The consonant skeleton of an English word: its first letter and the letters after it that are not
// vowels ("control" gives "cntrl", "text" "txt"). None for words shorter than four letters, words with
// an apostrophe, and words that are their own skeleton.
std::optional<std::u32string> skeletonOf(const std::u32string& word) {
    if (word.size() < 4 || word.find(U'\'') != std::u32string::npos) return std::nullopt;
    std::u32string skeleton(1, word.front());
    for (std::size_t i = 1; i < word.size(); ++i) {
        if (std::u32string_view(U"aeiou").find(word[i]) == std::u32string_view::npos) skeleton += word[i];
    }
    if (skeleton.size() < 2 || skeleton == word) return std::nullopt;
    return skeleton;
}

// The tokens a word of `language` stands for in typed text: itself and, for English, its abbreviation.
std::vector<WeightedForm> tokenForms(const std::u32string& word, const LanguageData& language) {
    std::vector<WeightedForm> forms{{word, kPlainWeight}};
    if (language.description.tag == "en") {
        if (auto skeleton = skeletonOf(word)) forms.push_back({std::move(*skeleton), kAbbreviationWeight});
    }
    return forms;
}

// A token typed on the other layout, alone and followed by punctuation, as `alphabet` reads it; forms
// with a character outside the alphabet are left out.
std::vector<WeightedForm> wrongLayoutForms(const std::u32string& token, ConversionDirection direction,
                                           const desktop::LetterAlphabet& alphabet) {
    std::vector<WeightedForm> forms;
    if (auto typed = typedOnOtherLayout(token, direction, alphabet)) forms.push_back({std::move(*typed), kPlainWeight});
    for (const char32_t punctuation : kFollowingPunctuation) {
        if (auto typed = typedOnOtherLayout(token + punctuation, direction, alphabet)) {
            forms.push_back({std::move(*typed), kPunctuatedWeight});
        }
    }
    return forms;
}

std::string percent(double share) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f %%", 100.0 * share);
    return buffer;
}

std::string decimal(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// Counts a word as the model scores it: each part between hyphens as a word of its own.
void addParts(desktop::LetterTrigramCounts& counts, const std::u32string& word, std::uint64_t weight) {
    for (const std::u32string_view part : desktop::LetterModel::partsOf(word)) counts.addWord(part, weight);
}

// Fills the word and reference counts of `language` from the training words: its own tokens, and the
// tokens of `other` typed on its layout (`direction` turns other's words into this layout's text).
void countTrigrams(LanguageData& language, const LanguageData& other, ConversionDirection direction,
                   std::size_t& referenceWords) {
    for (const std::u32string& word : language.words) {
        if (isHeldOut(word)) continue;
        for (const WeightedForm& token : tokenForms(word, language)) {
            addParts(language.description.wordTrigrams, token.text, token.weight);
        }
    }
    referenceWords = 0;
    for (const std::u32string& word : other.words) {
        if (isHeldOut(word)) continue;
        for (const WeightedForm& token : tokenForms(word, other)) {
            for (const WeightedForm& form : wrongLayoutForms(token.text, direction, *language.alphabet)) {
                addParts(language.description.referenceTrigrams, form.text, form.weight * token.weight);
                ++referenceWords;
            }
        }
    }
}

// The held-out samples of `language`: the tokens of its own held-out words (real) and those of the
// other language's held-out words typed on its layout, alone and punctuated (wrong), where those stay
// within its alphabet. Each counts with the weight of its form.
std::vector<CalibrationSample> heldOutSamples(const desktop::LetterModel& model, const LanguageData& language,
                                              const LanguageData& other, ConversionDirection direction,
                                              std::size_t& wrongOutsideAlphabet) {
    std::vector<CalibrationSample> samples;
    for (const std::u32string& word : language.words) {
        if (!isHeldOut(word)) continue;
        for (const WeightedForm& token : tokenForms(word, language)) {
            if (const auto evidence = model.evidence(token.text)) {
                samples.push_back({*evidence, true, static_cast<double>(token.weight)});
            }
        }
    }
    wrongOutsideAlphabet = 0;
    for (const std::u32string& word : other.words) {
        if (!isHeldOut(word)) continue;
        for (const WeightedForm& token : tokenForms(word, other)) {
            const std::vector<WeightedForm> forms = wrongLayoutForms(token.text, direction, *language.alphabet);
            if (token.text == word && (forms.empty() || forms.front().weight != kPlainWeight)) ++wrongOutsideAlphabet;
            for (const WeightedForm& form : forms) {
                if (const auto evidence = model.evidence(form.text)) {
                    samples.push_back({*evidence, false, static_cast<double>(form.weight * token.weight)});
                }
            }
        }
    }
    return samples;
}

// What the recogniser alone adds to the margin of a word typed on `typedIn`'s layout when it is judged
// against its conversion to `intended`: 3 × (p of the conversion as intended − p of the token as typed).
// Shown for correctly typed held-out words of `typedIn` and for held-out words of `intended` typed on
// the wrong layout; the threshold is set where at most 0.5 % of correct words reach it.
std::string separationReport(const desktop::LetterModel& typedInModel, const LanguageData& typedIn,
                             const desktop::LetterModel& intendedModel, const LanguageData& intended,
                             ConversionDirection direction, ConversionDirection back) {
    const auto margin = [&](const std::u32string& typed) {
        const double asTyped = typedInModel.probability(typed);
        const auto converted = typedOnOtherLayout(typed, direction, *intended.alphabet);
        const double asIntended = converted ? intendedModel.probability(*converted) : 0.0;
        return 3.0 * (asIntended - asTyped);
    };
    std::vector<double> correct;
    for (const std::u32string& word : typedIn.words) {
        if (isHeldOut(word)) correct.push_back(margin(word));
    }
    struct Wrong {
        double margin;
        std::size_t length;
    };
    std::vector<Wrong> wrong;
    for (const std::u32string& word : intended.words) {
        if (!isHeldOut(word)) continue;
        // The keys that type `word` on the other layout, as they read in `typedIn`'s script; words whose
        // keys give characters outside that alphabet get probability 0 there.
        static const LayoutConverter converter;
        const std::u32string typed = text::scalars(converter.convert(text::fromScalars(word), back));
        const double asTyped = typedInModel.probability(typed);
        const double asIntended = intendedModel.probability(word);
        wrong.push_back({3.0 * (asIntended - asTyped), word.size()});
    }
    std::sort(correct.begin(), correct.end());
    const double threshold = correct[std::min(correct.size() - 1, correct.size() * 995 / 1000)];
    std::size_t caught = 0;
    for (const Wrong& w : wrong) caught += w.margin > threshold ? 1 : 0;

    std::string out = "Typed on the " + typedIn.name + " layout: " + std::to_string(correct.size()) + " correct " +
                      typedIn.name + " words, " + std::to_string(wrong.size()) + " " + intended.name +
                      " words typed on the wrong layout. At the recogniser margin " + decimal(threshold, 3) +
                      " (reached by 0.5 % of correct words) it catches " +
                      percent(static_cast<double>(caught) / static_cast<double>(wrong.size())) + ".\n\n";
    out += "| letters | wrong-layout words | caught |\n|---|---|---|\n";
    const std::vector<std::pair<std::size_t, std::size_t>> buckets = {{1, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 7}, {8, 99}};
    for (const auto& [low, high] : buckets) {
        std::size_t count = 0;
        std::size_t hit = 0;
        for (const Wrong& w : wrong) {
            if (w.length < low || w.length > high) continue;
            ++count;
            hit += w.margin > threshold ? 1 : 0;
        }
        const std::string label = low == high ? std::to_string(low)
                                  : high == 99 ? std::to_string(low) + "+"
                                               : std::to_string(low) + "–" + std::to_string(high);
        out += "| " + label + " | " + std::to_string(count) + " | " +
               (count == 0 ? "–" : percent(static_cast<double>(hit) / static_cast<double>(count))) + " |\n";
    }
    return out;
}

bool writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.close();
    return static_cast<bool>(out);
}

int run(const Options& options) {
    LanguageData english{"English", {}, desktop::LetterAlphabet::make(kEnglishAlphabet, U"", U""), {}, 0};
    LanguageData russian{"Russian", {}, desktop::LetterAlphabet::make(kRussianAlphabet, U"ё", U"е"), {}, 0};
    english.description.tag = "en";
    english.description.alphabet = kEnglishAlphabet;
    russian.description.tag = "ru";
    russian.description.alphabet = kRussianAlphabet;
    russian.description.foldFrom = U"ё";
    russian.description.foldTo = U"е";

    std::string error;
    for (const std::string& path : options.english) {
        if (!addWordsOfFile(path, *english.alphabet, english.words, english.skipped, error)) {
            std::cerr << "tarvelo-train-model: " << error << '\n';
            return 1;
        }
    }
    for (const std::string& path : options.russian) {
        if (!addWordsOfFile(path, *russian.alphabet, russian.words, russian.skipped, error)) {
            std::cerr << "tarvelo-train-model: " << error << '\n';
            return 1;
        }
    }

    constexpr auto kToRussian = ConversionDirection::englishToRussian;
    constexpr auto kToEnglish = ConversionDirection::russianToEnglish;
    std::size_t englishReference = 0;
    std::size_t russianReference = 0;
    countTrigrams(english, russian, kToEnglish, englishReference);
    countTrigrams(russian, english, kToRussian, russianReference);

    auto englishModel = desktop::LetterModel::make(english.description);
    auto russianModel = desktop::LetterModel::make(russian.description);
    std::size_t englishOutside = 0;
    std::size_t russianOutside = 0;
    const auto englishSamples = heldOutSamples(*englishModel, english, russian, kToEnglish, englishOutside);
    const auto russianSamples = heldOutSamples(*russianModel, russian, english, kToRussian, russianOutside);
    english.description.calibration = fitCalibration(englishSamples, options.backgroundLogWeight);
    russian.description.calibration = fitCalibration(russianSamples, options.backgroundLogWeight);
    englishModel->setCalibration(english.description.calibration);
    russianModel->setCalibration(russian.description.calibration);

    desktop::LetterModelFile file;
    file.header = {"Letter trigram model of the language recogniser (LetterModelLanguageRecognizer).",
                   "Generated by tarvelo-train-model through scripts/generate-model; do not edit by hand.",
                   "Word lists:"};
    for (const std::string& source : options.sources) file.header.push_back("  " + source);
    std::string report;
    for (const auto* language : {&english, &russian}) {
        const bool isEnglish = language == &english;
        const auto& samples = isEnglish ? englishSamples : russianSamples;
        const auto& calibration = language->description.calibration;
        const std::size_t reference = isEnglish ? englishReference : russianReference;
        const std::size_t outside = isEnglish ? englishOutside : russianOutside;
        const std::size_t real = static_cast<std::size_t>(
            std::count_if(samples.begin(), samples.end(), [](const CalibrationSample& s) { return s.realWord; }));
        file.header.push_back(language->name + ": " + std::to_string(language->words.size()) + " distinct words (" +
                              std::to_string(language->skipped) + " lines skipped), " +
                              std::to_string(language->description.wordTrigrams.trigrams().size()) +
                              " word trigrams, " +
                              std::to_string(language->description.referenceTrigrams.trigrams().size()) +
                              " reference trigrams from " + std::to_string(reference) + " wrong-layout words.");
        const auto bins = reliabilityBins(samples, calibration);
        std::string section = "### " + language->name + " (\"" + language->description.tag + "\")\n\n";
        section += "Held out: " + std::to_string(real) + " real words and " + std::to_string(samples.size() - real) +
                   " wrong-layout forms within the alphabet (" + std::to_string(outside) +
                   " words have a character outside it when typed alone and get 0). Calibration: ratio weight " +
                   decimal(calibration.ratioWeight, 6) + ", average weight " + decimal(calibration.averageWeight, 6) +
                   ", intercept " + decimal(calibration.intercept, 6) + ", background log weight " +
                   decimal(calibration.backgroundLogWeight, 6) + ".\n\n";
        section += formatReliabilityTable(bins);
        report += section + "\n";
    }
    report += "### What the recogniser alone adds to the margin\n\n";
    report += separationReport(*englishModel, english, *russianModel, russian, kToRussian, kToEnglish) + "\n";
    report += separationReport(*russianModel, russian, *englishModel, english, kToEnglish, kToRussian);

    file.header.push_back("Calibration on held-out words (see docs/recognizer.md):");
    std::size_t start = 0;
    while (start < report.size()) {
        const std::size_t end = report.find('\n', start);
        file.header.push_back("  " + report.substr(start, end - start));
        start = end + 1;
    }
    while (!file.header.empty() && file.header.back() == "  ") file.header.pop_back();
    for (std::string& line : file.header) {
        if (line == "  ") line.clear();
    }
    file.languages = {english.description, russian.description};

    if (!writeFile(options.output, desktop::formatLetterModelFile(file))) {
        std::cerr << "tarvelo-train-model: cannot write " << options.output << '\n';
        return 1;
    }
    if (!options.report.empty() && !writeFile(options.report, report)) {
        std::cerr << "tarvelo-train-model: cannot write " << options.report << '\n';
        return 1;
    }
    std::cout << report;
    return 0;
}

}  // namespace
}  // namespace tarvelo::model

int main(int argc, char** argv) {
    const auto options = tarvelo::model::parseOptions(argc, argv);
    if (!options) {
        std::cerr << tarvelo::model::kUsage;
        return 2;
    }
    return tarvelo::model::run(*options);
}
