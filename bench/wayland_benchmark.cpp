// SPDX-License-Identifier: GPL-3.0-or-later
// How long after the space a wrong-layout word stands corrected in each toolkit's field on a headless
// GNOME Shell, Tarvelo being the session's input method (the build's tarvelo --ibus, started by the
// shell's ibus-daemon), and, for comparison, how long the same field takes to show a word that needs
// nothing: the difference is what correcting costs beyond the path every key takes. Timed from the
// space's press sent to Mutter to the field reading the expected text, polled through the field's pipe.
// Run by hand, with the build's component first in IBUS_COMPONENT_PATH (one line):
//   IBUS_COMPONENT_PATH=build/dev/ibus/component:/usr/share/ibus/component
//   scripts/gnome-session build/dev/tests/wayland/tarvelo_wayland_benchmark [WORDS]
#include <linux/input-event-codes.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gnome_session.h"
#include "key_injector.h"
#include "wayland_field.h"

namespace tarvelo::wayland::testing {
namespace {

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Milliseconds from the space to `expected` in the field for each of `words` words typed as `keys`
// (without the space) that the field shows as `shown` (with it); empty when the field never did.
std::vector<double> spaceToText(KeyInjector& keyboard, Toolkit toolkit, const std::string& keys,
                                const std::string& shown, int words) {
    std::string failure;
    const std::unique_ptr<WaylandField> field = WaylandField::start({toolkit, false}, failure);
    if (field == nullptr) {
        std::fprintf(stderr, "%s: %s\n", toolkitName(toolkit), failure.c_str());
        return {};
    }
    std::vector<double> times;
    std::string expected;
    for (int word = 0; word < words; ++word) {
        if (!keyboard.type(keys)) return {};
        expected += shown;
        const auto start = std::chrono::steady_clock::now();
        if (!keyboard.press(KEY_SPACE) || !keyboard.release(KEY_SPACE)) return {};
        std::optional<std::string> text;
        while ((text = field->text()) && *text != expected &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        }
        if (!text || *text != expected) {
            std::fprintf(stderr, "%s: after word %d the field read \"%s\", not \"%s\"\n", toolkitName(toolkit),
                         word + 1, text.value_or("(no answer)").c_str(), expected.c_str());
            return {};
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        // A person's pause between words, so that each space is timed on its own.
        keyboard.setPace({150, 0, 5, 40});
        keyboard.tap(KEY_RIGHT);
        keyboard.setPace(KeyInjector::kFast);
    }
    return times;
}

int run(int words) {
    if (!inGnomeSession()) {
        std::fprintf(stderr, "run under scripts/gnome-session\n");
        return 2;
    }
    std::string failure;
    std::unique_ptr<KeyInjector> keyboard;
    if (!prepareTarveloEngines(failure) || (keyboard = KeyInjector::start(failure)) == nullptr ||
        !selectInputSources({{"ibus", "tarvelo-us"}}, failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    std::printf("%-5s %-10s %6s %8s %8s\n", "field", "word", "words", "median", "p95");
    for (const Toolkit toolkit : {Toolkit::gtk3, Toolkit::gtk4, Toolkit::qt6}) {
        for (const bool corrected : {true, false}) {
            const std::vector<double> times = corrected ? spaceToText(*keyboard, toolkit, "ghbdtn", "привет ", words)
                                                        : spaceToText(*keyboard, toolkit, "hello", "hello ", words);
            if (times.empty()) return 1;
            std::printf("%-5s %-10s %6zu %6.1f ms %5.1f ms\n", toolkitName(toolkit), corrected ? "corrected" : "as typed",
                        times.size(), percentile(times, 0.5), percentile(times, 0.95));
        }
    }
    return 0;
}

}  // namespace
}  // namespace tarvelo::wayland::testing

int main(int argc, char** argv) {
    const int words = argc > 1 ? std::atoi(argv[1]) : 30;
    return tarvelo::wayland::testing::run(words > 0 ? words : 30);
}
