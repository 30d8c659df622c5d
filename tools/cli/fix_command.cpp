#include <string>

#include "arguments.h"
#include "command_error.h"
#include "commands.h"
#include "pipeline/word_buffer.h"
#include "text/characters.h"
#include "token_judge.h"

namespace tarvelo::cli {
namespace {

constexpr std::string_view kHelp = R"(Usage: tarvelo-cli fix [--sensitivity S]

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

Scores use the built-in word and letter-pair lists; no spelling dictionary or
language recogniser is consulted.

Options:
  --sensitivity S  confidence threshold from 0 to 1 (default 0.72); a higher
                   value asks for a larger margin, so fewer words are corrected
  -h, --help       show this help
)";

std::string fixText(std::string_view text, TokenJudge& judge) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    WordBuffer buffer;
    // Everything before `copied` is in `out` already.
    std::size_t copied = 0;
    const auto closeWord = [&](std::size_t end, std::string_view word) {
        // The buffer keeps the word characters since the last boundary unchanged (the input is
        // well-formed), so a closed word is the text right before the character that closed it.
        const std::size_t start = end - word.size();
        if (word.size() > end - copied || text.substr(start, word.size()) != word) return;
        out.append(text.substr(copied, start - copied));
        const TokenVerdict verdict = judge.judge(word);
        out.append(verdict.correct ? verdict.result.converted : word);
        copied = end;
    };

    for (const std::string_view character : text::characters(text)) {
        const auto offset = static_cast<std::size_t>(character.data() - text.data());
        if (const auto closed = buffer.append(character)) closeWord(offset, closed->word);
    }
    // The end of the input closes the word still being typed; an over-long one stays as it is.
    if (!buffer.overflowed() && !buffer.text().empty()) closeWord(text.size(), buffer.text());
    out.append(text.substr(copied));
    return out;
}

}  // namespace

int runFix(std::span<const std::string_view> arguments, const Io& io) {
    const Arguments parsed = parseArguments(arguments, {.valueOptions = {"sensitivity"}, .acceptsOperands = false});
    if (parsed.help) {
        writeOutput(io.out, kHelp);
        return kExitSuccess;
    }
    const auto sensitivity = parsed.option("sensitivity");
    TokenJudge judge(makeSignals(), sensitivity ? parseSensitivity(*sensitivity) : kDefaultSensitivity);

    const std::string input = readWellFormedInput(io.in);
    writeOutput(io.out, fixText(input, judge));
    return kExitSuccess;
}

}  // namespace tarvelo::cli
