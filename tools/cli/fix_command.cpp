// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "arguments.h"
#include "command_error.h"
#include "commands.h"
#include "run_fixer.h"
#include "token_judge.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kHelp = R"(Usage: tarvelo-cli fix [--sensitivity S] [--signals none|system]

Reads UTF-8 text on standard input and writes it back with the words that were
typed in the wrong keyboard layout replaced by what was meant, exactly as the
typing engine would correct the same keys typed in one run:

  printf 'Ghbdtn? rfr ltkf&\n' | tarvelo-cli fix    writes: Привет, как дела?
  printf 'Ш вщтэе лтщц\n' | tarvelo-cli fix         writes: I don't know

Words end where the engine ends them: at white space and at ! ? " ( ) :, except
that : and " (Ж and Э on the Russian layout) stay inside a word typed on the
English layout. Each word is judged with the words before it: punctuation keys
are converted with the word (the ? that closed "Ghbdtn" is the Russian comma),
words of one or two letters are corrected next to a word corrected the same
way, and a word that is a word of its own language stays unless the words
before it are in the other language. Everything else is copied byte for byte:
spacing, line breaks, words the engine leaves alone, and words longer than 64
characters.

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

}  // namespace

int runFix(std::span<const std::string_view> arguments, const Io& io) {
    const Arguments parsed =
        parseArguments(arguments, {.valueOptions = {"sensitivity", "signals"}, .acceptsOperands = false});
    if (parsed.help) {
        writeOutput(io.out, kHelp);
        return kExitSuccess;
    }
    RunFixer fixer(makeSignals(signalSourceOption(parsed)), sensitivityOption(parsed));

    const std::string input = readWellFormedInput(io.in);
    writeOutput(io.out, fixer.fix(input));
    return kExitSuccess;
}

}  // namespace tarvelo::cli
