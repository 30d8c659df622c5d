// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "latency_counters.h"
#include "loaded_signals.h"
#include "pipeline/running_text_judge.h"
#include "pipeline/word_buffer.h"
#include "pipeline/word_run.h"
#include "text/characters.h"

// The running-text judge's work at each word boundary, with the desktop's own signals: sentences
// typed on both layouts, right and wrong, every closed word timed on its own.

namespace tarvelo::desktop {
namespace {

constexpr double kDefaultSensitivity = 0.72;

// A closed word and the run it closes in, ready to be judged.
struct Boundary {
    std::vector<RunWord> run;
    std::string word;
    std::string delimiter;
};

// Every boundary of the sentences, with the run as the judge left it before each.
std::vector<Boundary> boundaries(RunningTextJudge& judge, const std::vector<std::string>& sentences) {
    std::vector<Boundary> out;
    const ExceptionWords none;
    for (const std::string& sentence : sentences) {
        WordBuffer buffer(WordBuffer::Splitting::otherLayoutLetters);
        WordRun run;
        for (const std::string_view key : text::characters(sentence + " ")) {
            const auto closed = buffer.append(key);
            if (!closed) continue;
            out.push_back({run.words(), closed->word, closed->delimiter});
            run.record(judge.judge(run.words(), closed->word, closed->delimiter, kDefaultSensitivity, none));
        }
    }
    return out;
}

void judgeClosedWordWithSystemSignals(benchmark::State& state) {
    RunningTextJudge judge(loadedSignals().detector);
    const std::vector<Boundary> words = boundaries(judge, {
        "Ghbdtn? rfr ltkf& Z gbie ntrcn b ghjcnj/",
        "Ш вщтэе лтщц цруку ше шыю",
        "Привет, как дела? Я пишу текст и просто.",
        "I don't know where it is.",
        "Открой файл README и запусти make",
        "Ecnfyjdbnt gfrtn b gthtpfuhepbnt rjvgm.nth/",
        "Еру ашду шы дщслув ин фтщерук зкщсуыыю",
    });
    const ExceptionWords none;
    std::vector<double> micros;
    std::size_t next = 0;
    for (auto _ : state) {
        const Boundary& boundary = words[next];
        next = (next + 1) % words.size();
        const auto start = std::chrono::steady_clock::now();
        RunVerdict verdict = judge.judge(boundary.run, boundary.word, boundary.delimiter, kDefaultSensitivity, none);
        const auto stop = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(verdict);
        const double seconds = std::chrono::duration<double>(stop - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    setLatencyCounters(state, std::move(micros));
}
BENCHMARK(judgeClosedWordWithSystemSignals)->UseManualTime();

}  // namespace
}  // namespace tarvelo::desktop
