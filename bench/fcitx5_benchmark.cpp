// SPDX-License-Identifier: GPL-3.0-or-later
// How long fcitx5 takes, with Tarvelo's module, from the space after a wrong-layout word to the
// corrected text at the field: fcitx5 on a private bus of the benchmark's own, Tarvelo serving the
// module from this process, and a field of fcitx5's D-Bus frontend (fcitx5_session.h). The space is
// timed from the field's call until the corrected word's commit reaches the field (its deletion comes
// just before). The field's main loop is polled each millisecond, so each time may be up to 1 ms late. No toolkit and no
// compositor are in the path: this is what Tarvelo, the module and fcitx5 add.
#include "desktop_environment.h"
#include "fcitx5_session.h"
#include "latency_counters.h"

#include <glib.h>

#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace tarvelo::desktop::testing {
namespace {

Fcitx5Session* openSession(benchmark::State& state) {
    static std::unique_ptr<Fcitx5Session> session;
    if (session == nullptr) session = std::make_unique<Fcitx5Session>();
    if (!session->failure.empty()) {
        state.SkipWithError(session->failure.c_str());
        return nullptr;
    }
    return session.get();
}

void BM_Fcitx5SpaceToCorrectedWord(benchmark::State& state) {
    Fcitx5Session* session = openSession(state);
    if (session == nullptr) return;
    std::vector<double> spaces;
    for (auto _ : state) {
        state.PauseTiming();
        FrontendField field(session->application, kCapabilitySurroundingText);
        field.type("ghbdtn");
        state.ResumeTiming();
        const gint64 start = g_get_monotonic_time();
        field.press(' ', " ");
        spaces.push_back(static_cast<double>(field.lastCommitAt() - start));
        state.PauseTiming();
        if (field.text() != "привет ") state.SkipWithError(("the field reads \"" + field.text() + "\"").c_str());
        // Nothing is left to undo for the next word.
        session->tarvelo->app.keyboardMonitor.restartIfPossible();
        state.ResumeTiming();
    }
    setLatencyCounters(state, spaces);
}
BENCHMARK(BM_Fcitx5SpaceToCorrectedWord)->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvelo::desktop::testing
