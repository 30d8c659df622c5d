// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest's headers come in through the test helpers; Xlib's macros must come after them.
#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "ibus_daemon.h"
#include "test_keyboard.h"
#include "text_field_program.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <glib.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

// How long after the space a wrong-layout word stands corrected in a real GTK 3 field when Tarvelo is
// the IBus input method: an ibus-daemon of the benchmark's own in the headless session, the engine
// served by this process, keys typed on the X server's keyboard, the field read back through its
// toolkit (the engine's own view of the text is not what is timed). The engine corrects at the space
// itself, so nothing is waited for on purpose. One word per repetition; run under
// scripts/desktop-session.

namespace tarvelo::desktop::testing {
namespace {

double percentile95(const std::vector<double>& values) {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const auto index = static_cast<std::size_t>(0.95 * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

struct Bench {
    IbusDaemon daemon;
    std::unique_ptr<Display, decltype(&XCloseDisplay)> user{XOpenDisplay(nullptr), &XCloseDisplay};
    std::unique_ptr<TestKeyboard> keyboard = std::make_unique<TestKeyboard>(user.get());
    std::unique_ptr<DesktopTarvelo> tarvelo;
    std::unique_ptr<TextFieldProgram> program;
};

Bench* openBench(benchmark::State& state) {
    static std::unique_ptr<Bench> bench;
    if (bench != nullptr) return bench.get();
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("no DISPLAY: run under scripts/desktop-session");
        return nullptr;
    }
    auto opened = std::make_unique<Bench>();
    if (!opened->daemon.failure().empty()) {
        state.SkipWithError(opened->daemon.failure().c_str());
        return nullptr;
    }
    opened->tarvelo = std::make_unique<DesktopTarvelo>(KeyboardBackend::ibus);
    if (!IbusDaemon::selectEngine("tarvelo-us")) {
        state.SkipWithError("IBus did not take the engine");
        return nullptr;
    }
    std::string failure;
    opened->program = TextFieldProgram::start({Toolkit::gtk, FieldKind::singleLine, {}}, failure);
    if (opened->program == nullptr) {
        state.SkipWithError(failure.c_str());
        return nullptr;
    }
    if (!iterateUntil([&] { return opened->tarvelo->desktop.accessibility().focusedElement() != nullptr; }, 10.0)) {
        state.SkipWithError("the engine never saw the field focused");
        return nullptr;
    }
    // The first keys after the field has appeared can be lost: one that types nothing goes first.
    iterateFor(0.3);
    opened->keyboard->tap(XK_Escape);
    iterateFor(0.2);
    bench = std::move(opened);
    return bench.get();
}

void BM_IbusSpaceToCorrectedWord(benchmark::State& state) {
    Bench* bench = openBench(state);
    if (bench == nullptr) return;
    const auto fieldIs = [&](const char* marked) { return bench->program->markedText() == std::optional<std::string>(marked); };
    for (auto _ : state) {
        if (!bench->program->setMarkedText("|") || !iterateUntil([&] { return fieldIs("|"); })) {
            state.SkipWithError("the field did not take its text");
            break;
        }
        bench->keyboard->type("ghbdtn");
        XSync(bench->user.get(), False);
        if (!iterateUntil([&] { return fieldIs("ghbdtn|"); })) {
            state.SkipWithError("the typed word never showed");
            break;
        }
        bench->keyboard->type(" ");
        XSync(bench->user.get(), False);
        const gint64 spaceAt = g_get_monotonic_time();
        gint64 correctedAt = 0;
        const bool corrected = iterateUntil(
            [&] {
                if (!fieldIs("привет |")) return false;
                correctedAt = g_get_monotonic_time();
                return true;
            },
            5.0);
        if (!corrected) {
            state.SkipWithError("the word was not corrected");
            break;
        }
        state.SetIterationTime(static_cast<double>(correctedAt - spaceAt) / 1e6);
        // Let the read-back finish before the next word.
        iterateUntil([&] { return bench->tarvelo->app.engine.statusMessage().get() != "Correction sent"; });
    }
}
BENCHMARK(BM_IbusSpaceToCorrectedWord)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(30)
    ->ComputeStatistics("p95", percentile95)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvelo::desktop::testing
