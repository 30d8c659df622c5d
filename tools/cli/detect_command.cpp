// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "analysis/conversion_direction.h"
#include "analysis/language_classification.h"
#include "arguments.h"
#include "command_error.h"
#include "commands.h"
#include "text/utf8.h"
#include "text_runs.h"
#include "token_judge.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kHelp = R"(Usage: tarvelo-cli detect [--sensitivity S] [--signals none|system] [TOKEN...]

Shows how each TOKEN would be judged as a finished word, or each token of
standard input (separated by white space) when no TOKEN is given. Prints one
JSON object per token and line, with these members in this order:

  original        the token
  converted       what would be typed in its place (the token itself when no
                  direction can be decided)
  classification  english, russian, wrongEnglishLayoutIntendedRussian,
                  wrongRussianLayoutIntendedEnglish or unknown
  direction       englishToRussian, russianToEnglish, or null
  originalScore   the token's score in the language of its layout
  convertedScore  the conversion's score in the other language
  margin          convertedScore - originalScore
  analyzed        the token may be scored at all (not too short or long, no
                  digits, addresses, code, abbreviations or technical words)
  correct         analyzed, typed in the wrong layout, and margin at least
                  2.8 x S + 1.6: the word would be corrected

Options:
  --sensitivity S  confidence threshold from 0 to 1 (default 0.72); a higher
                   value asks for a larger margin
  --signals system score with the built-in word and letter-pair lists, the
                   hunspell en_US and ru_RU dictionaries (through Enchant) and
                   the built-in letter-model recogniser, as the application
                   does (the default)
  --signals none   score with the built-in lists alone: the same scores on
                   every machine
  --               every argument after this is a TOKEN
  -h, --help       show this help
)";

std::string jsonLine(const TokenVerdict& verdict) {
    const DetectionResult& result = verdict.result;
    nlohmann::ordered_json json;
    json["original"] = result.original;
    json["converted"] = result.converted;
    json["classification"] = rawValue(result.classification);
    json["direction"] = result.direction ? nlohmann::ordered_json(rawValue(*result.direction)) : nullptr;
    json["originalScore"] = result.originalScore;
    json["convertedScore"] = result.convertedScore;
    json["margin"] = verdict.margin;
    json["analyzed"] = verdict.analyzed;
    json["correct"] = verdict.correct;
    return json.dump() + '\n';
}

std::vector<std::string> tokensOf(std::string_view text) {
    std::vector<std::string> tokens;
    for (const TextRun& run : textRuns(text)) {
        if (!run.whiteSpace) tokens.emplace_back(run.text);
    }
    return tokens;
}

}  // namespace

int runDetect(std::span<const std::string_view> arguments, const Io& io) {
    const Arguments parsed =
        parseArguments(arguments, {.valueOptions = {"sensitivity", "signals"}, .acceptsOperands = true});
    if (parsed.help) {
        writeOutput(io.out, kHelp);
        return kExitSuccess;
    }
    TokenJudge judge(makeSignals(signalSourceOption(parsed)), sensitivityOption(parsed));

    std::vector<std::string> tokens = parsed.operands;
    if (tokens.empty()) {
        tokens = tokensOf(readWellFormedInput(io.in));
    } else {
        for (const std::string& token : tokens) {
            if (!text::isWellFormed(token)) {
                throw CommandError(ErrorKind::badInput, "a token argument is not well-formed UTF-8");
            }
        }
    }

    std::string out;
    for (const std::string& token : tokens) out += jsonLine(judge.judge(token));
    writeOutput(io.out, out);
    return kExitSuccess;
}

}  // namespace tarvelo::cli
