// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/fake/simulated_session.h"
#include "platform/linux/language/enchant_spell_checker.h"
#include "platform/linux/language/letter_model_language_recognizer.h"
#include "platform/linux/resident_file_pages.h"

// The typing pipeline on the pretend desktop: what the keyboard monitor costs per key inside the tap,
// and one whole correction from the word boundary to the read-back, without the scheduled delays.

namespace tarvelo {
namespace {

KeyEventRecord key(std::string characters, std::uint16_t keyCode = 0) {
    return {KeyEventRecord::kKeyDown, 0, keyCode, 0, std::move(characters)};
}

// A letter and a Delete, the two keys of the collecting path, straight into the tap's callback (the
// fake field's own work is left out). Each key asks the focused element whether it is a password field.
void BM_MonitorLetterKey(benchmark::State& state) {
    SimulatedSession session;
    session.openField();
    KeyboardMonitor& monitor = session.monitor();
    const KeyEventRecord letter = key("a");
    const KeyEventRecord deleteKey = key("\x7f", virtual_key::kDelete);
    monitor.callback(letter);
    for (auto _ : state) {
        benchmark::DoNotOptimize(monitor.callback(letter));
        benchmark::DoNotOptimize(monitor.callback(deleteKey));
    }
    state.SetItemsProcessed(2 * static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_MonitorLetterKey);

// A space that closes a six-letter word: the boundary record and its two delayed tasks. The letters
// before it are timed too and reported as keys; the queued tasks are run outside the timing.
void BM_MonitorDelimiterKey(benchmark::State& state) {
    SimulatedSession session;
    session.settings.isAutoSwitchEnabled.set(false);
    session.openField();
    KeyboardMonitor& monitor = session.monitor();
    const KeyEventRecord letters[] = {key("g"), key("h"), key("b"), key("d"), key("t"), key("n")};
    const KeyEventRecord space = key(" ", virtual_key::kSpace);
    std::int64_t words = 0;
    for (auto _ : state) {
        for (const KeyEventRecord& letter : letters) benchmark::DoNotOptimize(monitor.callback(letter));
        benchmark::DoNotOptimize(monitor.callback(space));
        if (++words % 256 == 0) {
            state.PauseTiming();
            session.wait(13.0);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(7 * static_cast<std::int64_t>(state.iterations()));
    state.counters["words"] = benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MonitorDelimiterKey);

struct DesktopSignals {
    desktop::EnchantSpellChecker spellChecker;
    desktop::LetterModelLanguageRecognizer recognizer;
};

// The file pages resident when the program started, before any of the typing path had run.
const desktop::ResidentFilePages pagesAtStart = desktop::ResidentFilePages::now();

// "ghbdtn " typed through the tap into a fresh field, then everything that follows up to "Last word
// corrected": the verdict, the accessibility edit, the read-back, the statistics write. With
// `releasePages`, every word comes after the application gave back its code pages (as it does after
// start-up and when its last window closes), so each one reads the typing path's code back from the
// page cache.
void correctOneWord(benchmark::State& state, SimulatedSession& session, bool releasePages = false) {
    for (auto _ : state) {
        state.PauseTiming();
        if (releasePages) desktop::ResidentFilePages::releaseAddedSince(pagesAtStart);
        auto field = session.openField();
        state.ResumeTiming();
        session.keyboard.type("ghbdtn ");
        session.scheduler.advance(0.2);
        state.PauseTiming();
        if (field->text() != "привет " || session.status() != "Last word corrected") {
            state.SkipWithError("the word was not corrected");
            break;
        }
        session.wait(8.0);  // let the undo record expire, so that nothing piles up
        state.ResumeTiming();
    }
}

void BM_WholeCorrectionBuiltInLists(benchmark::State& state) {
    SimulatedSession session;
    correctOneWord(state, session);
}
BENCHMARK(BM_WholeCorrectionBuiltInLists)->Unit(benchmark::kMicrosecond);

void BM_WholeCorrectionDesktopSignals(benchmark::State& state) {
    static DesktopSignals signals;
    SimulatedSession session({&signals.spellChecker, &signals.recognizer});
    correctOneWord(state, session);
}
BENCHMARK(BM_WholeCorrectionDesktopSignals)->Unit(benchmark::kMicrosecond);

void BM_FirstCorrectionAfterPagesReleased(benchmark::State& state) {
    static DesktopSignals signals;
    SimulatedSession session({&signals.spellChecker, &signals.recognizer});
    correctOneWord(state, session, true);
}
BENCHMARK(BM_FirstCorrectionAfterPagesReleased)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvelo
