// SPDX-License-Identifier: GPL-3.0-or-later
#include <X11/Xlib.h>

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/linux/x11/injected_keys.h"
#include "platform/linux/x11/keyboard_hold.h"
#include "platform/linux/x11/x11_display.h"
#include "platform/linux/x11/x_input_event_tap.h"
#include "platform/linux/x11/xkb_keymap.h"
#include "platform/linux/x11/xtest_keyboard_events.h"

// The X11 keyboard backend on the session's display (run under scripts/desktop-session): what the tap
// does with one raw key press before and around the callback, and what typing a word through XTest
// takes, pauses included. Without a display both report an error and measure nothing.

namespace tarvelo::desktop {
namespace {

struct Backend {
    std::unique_ptr<X11Display> display = X11Display::open();
    std::unique_ptr<XkbKeymap> keymap = display != nullptr ? XkbKeymap::create(*display) : nullptr;
    InjectedKeys injected;
    KeyboardHold hold;
};

// From the raw event's fields to the callback's return: the virtual key code, the flags, the text from
// xkbcommon, the check for the backend's own keys. A letter, a Space (a grabbable key, remembered for
// its grab) and a Backspace, as in typing.
void BM_TapRawKeyPress(benchmark::State& state) {
    Backend backend;
    if (backend.keymap == nullptr) {
        state.SkipWithError("no display: run under scripts/desktop-session");
        return;
    }
    XInputEventTap tap(backend.display.get(), backend.keymap.get(), backend.injected, backend.hold);
    std::size_t characters = 0;
    if (!tap.install([&](const KeyEventRecord& record) {
            characters += record.characters ? record.characters->size() : 0;
            return TapAnswer::pass;
        })) {
        state.SkipWithError("the tap could not be installed");
        return;
    }
    Display* display = backend.display->get();
    const std::uint32_t keys[] = {XKeysymToKeycode(display, 'g'), XKeysymToKeycode(display, ' '),
                                  XKeysymToKeycode(display, 0xff08 /* BackSpace */)};
    unsigned long time = 1;
    for (auto _ : state) {
        for (const std::uint32_t key : keys) tap.handleRawKeyPress({2, key, ++time});
    }
    benchmark::DoNotOptimize(characters);
    state.SetItemsProcessed(3 * static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_TapRawKeyPress);

// Typing "привет " while the us group is active: six characters on freshly lent key codes (with the
// gaps between map changes) and a Space. Each iteration starts with no key lent; giving them back is
// left out of the timing.
void BM_TypeWordOnLentKeys(benchmark::State& state) {
    Backend backend;
    if (backend.keymap == nullptr) {
        state.SkipWithError("no display: run under scripts/desktop-session");
        return;
    }
    const std::u16string word = u"привет ";
    for (auto _ : state) {
        state.PauseTiming();
        auto events = std::make_unique<XTestKeyboardEvents>(backend.display.get(), backend.keymap.get(), backend.injected,
                                                            backend.hold);
        state.ResumeTiming();
        const bool typed = events->post({0, true, kSyntheticEventMarker, word}) &&
                           events->post({0, false, kSyntheticEventMarker, word});
        state.PauseTiming();
        if (!typed) state.SkipWithError("typing failed");
        events.reset();
        backend.display->dispatchPending();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypeWordOnLentKeys)->Unit(benchmark::kMillisecond)->Iterations(20);

// The same word again while its keys are still lent: the cost of the next correction's typing.
void BM_TypeWordOnKeysStillLent(benchmark::State& state) {
    Backend backend;
    if (backend.keymap == nullptr) {
        state.SkipWithError("no display: run under scripts/desktop-session");
        return;
    }
    XTestKeyboardEvents events(backend.display.get(), backend.keymap.get(), backend.injected, backend.hold);
    const std::u16string word = u"привет ";
    events.post({0, true, kSyntheticEventMarker, word});
    for (auto _ : state) {
        benchmark::DoNotOptimize(events.post({0, true, kSyntheticEventMarker, word}));
        state.PauseTiming();
        backend.display->dispatchPending();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypeWordOnKeysStillLent)->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace
}  // namespace tarvelo::desktop
