// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "contract_field.h"
#include "services/accessibility_service.h"

// What the accessibility services cost against real applications over AT-SPI: a GTK 3 entry and a
// Qt 6 line edit of the test programs, in the headless session (scripts/desktop-session). Each request
// is a D-Bus round trip to the application, so these are milliseconds where the fake takes nanoseconds.

namespace tarvelo::desktop::testing {
namespace {

// The open field, kept from one benchmark to the next of the same toolkit: starting a program costs far
// more than what is timed. Only one program runs at a time, so that it keeps the keyboard focus.
ContractField* openField(Backend backend, benchmark::State& state) {
    static Backend openBackend = Backend::fake;
    static std::unique_ptr<ContractField> field;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("no DISPLAY: run under scripts/desktop-session");
        return nullptr;
    }
    if (field == nullptr || openBackend != backend) {
        field.reset();
        std::string failure;
        field = ContractField::open(backend, FieldKind::singleLine, failure);
        openBackend = backend;
        if (field == nullptr) {
            state.SkipWithError(failure.c_str());
            return nullptr;
        }
    }
    return field.get();
}

// The check made for every key: find the focused element and ask whether it is a password field.
void BM_FocusedElementAndSecureCheck(benchmark::State& state, Backend backend) {
    ContractField* field = openField(backend, state);
    if (field == nullptr) return;
    AccessibilityService service(field->api());
    if (!field->setMarkedText("Ok ghbdtn |")) state.SkipWithError("the field did not take its text");
    for (auto _ : state) {
        const bool found = field->api().focusedElement() != nullptr;
        const bool secure = service.isSecureInputFocused();
        if (!found || secure) {
            state.SkipWithError("the field lost focus");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_FocusedElementAndSecureCheck, gtk, Backend::gtk)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FocusedElementAndSecureCheck, qt, Backend::qt)->Unit(benchmark::kMicrosecond);

// The read-back after a correction.
void BM_TextBeforeCaretEnds(benchmark::State& state, Backend backend) {
    ContractField* field = openField(backend, state);
    if (field == nullptr) return;
    AccessibilityService service(field->api());
    if (!field->setMarkedText("😀 Ok привет |")) state.SkipWithError("the field did not take its text");
    for (auto _ : state) {
        if (service.textBeforeCaretEnds("привет ") != TextCheck::yes) {
            state.SkipWithError("the read-back failed");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_TextBeforeCaretEnds, gtk, Backend::gtk)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TextBeforeCaretEnds, qt, Backend::qt)->Unit(benchmark::kMicrosecond);

// One correction of a seven-character word (a word and its space), switching it back and forth so that
// every iteration is a real edit.
void BM_ReplaceTextBeforeCaret(benchmark::State& state, Backend backend) {
    ContractField* field = openField(backend, state);
    if (field == nullptr) return;
    AccessibilityService service(field->api());
    if (!field->setMarkedText("😀 Ok ghbdtn |")) state.SkipWithError("the field did not take its text");
    bool russian = false;
    for (auto _ : state) {
        russian = !russian;
        if (!service.replaceTextBeforeCaret(7, russian ? "привет " : "ghbdtn ")) {
            state.SkipWithError("the element refused the edit");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_ReplaceTextBeforeCaret, gtk, Backend::gtk)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReplaceTextBeforeCaret, qt, Backend::qt)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvelo::desktop::testing
