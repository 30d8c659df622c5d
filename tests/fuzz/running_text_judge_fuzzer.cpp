// SPDX-License-Identifier: GPL-3.0-or-later
// The running-text judge on arbitrary text typed key by key as one run, the way the engine hands it
// the closed words, with the built-in lists alone. Every decision must describe text the field holds
// right before the caret, and must neither add nor drop a character: each key becomes one.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/language_detector.h"
#include "fuzz_check.h"
#include "pipeline/running_text_judge.h"
#include "pipeline/word_buffer.h"
#include "pipeline/word_run.h"
#include "platform/fake/null_language_recognizer.h"
#include "platform/fake/null_spell_checker.h"
#include "text/case_mapping.h"
#include "text/characters.h"
#include "text/utf8.h"

using namespace tarvelo;

namespace {

std::size_t scalarCount(std::string_view text) {
    std::size_t count = 0;
    text::forEachScalar(text, [&](char32_t) { ++count; });
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NullSpellChecker spellChecker;
    static NullLanguageRecognizer recognizer;
    static LanguageDetector detector(LayoutConverter(), spellChecker, recognizer);
    static RunningTextJudge judge(detector);

    FuzzedDataProvider provider(data, size);
    const double sensitivity = provider.ConsumeProbability<double>();
    ExceptionWords exceptions;
    if (provider.ConsumeBool()) exceptions.insert(text::comparisonKey(text::wellFormed(provider.ConsumeRandomLengthString(16))));
    // Key texts come from the desktop well-formed.
    const std::string keys = text::wellFormed(provider.ConsumeRemainingBytesAsString());

    WordBuffer buffer(WordBuffer::Splitting::otherLayoutLetters);
    WordRun run;
    std::string field;
    const auto close = [&](std::string_view word, std::string_view delimiter) {
        RunVerdict verdict = judge.judge(run.words(), word, delimiter, sensitivity, exceptions);
        if (verdict.decision) {
            const RunDecision& decision = *verdict.decision;
            FUZZ_CHECK(field.ends_with(decision.expected));
            FUZZ_CHECK(decision.expected.ends_with(std::string(word) + std::string(delimiter)));
            FUZZ_CHECK(text::isWellFormed(decision.replacement));
            FUZZ_CHECK(scalarCount(decision.replacement) == scalarCount(decision.expected));
            FUZZ_CHECK(decision.replacement != decision.expected);
            FUZZ_CHECK(!decision.mainWord.empty());
            FUZZ_CHECK(verdict.rewritten.size() == decision.precedingWords);
            field.resize(field.size() - decision.expected.size());
            field += decision.replacement;
        }
        run.record(std::move(verdict));
        FUZZ_CHECK(run.words().size() <= WordRun::kRememberedWords);
    };
    for (const std::string_view key : text::characters(keys)) {
        const bool wasEmpty = buffer.text().empty() && !buffer.overflowed();
        const bool closes = buffer.closes(key);
        const auto closed = buffer.append(key);
        field += key;
        if (closed) {
            close(closed->word, closed->delimiter);
        } else if (closes && wasEmpty) {
            run.extendGap(key);
        } else if (closes) {
            run.clear();
        }
    }
    if (!buffer.overflowed() && !buffer.text().empty()) close(std::string(buffer.text()), "");
    return 0;
}
