// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "arguments.h"
#include "closed_words.h"
#include "command_error.h"
#include "commands.h"
#include "token_judge.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kHelp = R"(Usage: tarvelo-cli fix [--sensitivity S] [--signals none|system]

Reads UTF-8 text on standard input and writes it back with every word that was
typed in the wrong keyboard layout replaced by what was meant, exactly as the
typing engine would correct it as you type:

  echo 'Ghbdtn, rfr ltkf?' | tarvelo-cli fix    writes: Привет, как дела?

Words end where the engine ends them: at white space and at ! ? " ( ) :
(full stops, commas and the like stay inside the word). Everything else is
copied byte for byte: spacing, line breaks, punctuation, words the engine leaves
alone, and words longer than 64 characters.

The engine corrects a word only when the key after it ends it. Here the end of
the input ends the last word too, so a text without a final line break has its
last word corrected as well ('printf ghbdtn | tarvelo-cli fix' writes привет).

Options:
  --sensitivity S  confidence threshold from 0 to 1 (default 0.72); a higher
                   value asks for a larger margin, so fewer words are corrected
  --signals system score with the built-in word and letter-pair lists, the
                   hunspell en_US and ru_RU dictionaries (through Enchant) and
                   the built-in letter-model recogniser, as the application
                   does (the default)
  --signals none   score with the built-in lists alone: the same corrections
                   on every machine
  -h, --help       show this help
)";

std::string fixText(std::string_view text, TokenJudge& judge) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    // Everything before `copied` is in `out` already.
    std::size_t copied = 0;
    // The end of the input closes the word still being typed; an over-long one stays as it is.
    forEachClosedWord(text, [&](std::string_view word, std::size_t end) {
        const std::size_t start = end - word.size();
        if (word.size() > end - copied || text.substr(start, word.size()) != word) return;
        out.append(text.substr(copied, start - copied));
        const TokenVerdict verdict = judge.judge(word);
        out.append(verdict.correct ? verdict.result.converted : word);
        copied = end;
    });
    out.append(text.substr(copied));
    return out;
}

}  // namespace

int runFix(std::span<const std::string_view> arguments, const Io& io) {
    const Arguments parsed =
        parseArguments(arguments, {.valueOptions = {"sensitivity", "signals"}, .acceptsOperands = false});
    if (parsed.help) {
        writeOutput(io.out, kHelp);
        return kExitSuccess;
    }
    TokenJudge judge(makeSignals(signalSourceOption(parsed)), sensitivityOption(parsed));

    const std::string input = readWellFormedInput(io.in);
    writeOutput(io.out, fixText(input, judge));
    return kExitSuccess;
}

}  // namespace tarvelo::cli
