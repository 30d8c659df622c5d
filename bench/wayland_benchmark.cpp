// SPDX-License-Identifier: GPL-3.0-or-later
// How long after the space a wrong-layout word stands corrected in each toolkit's field on a headless
// GNOME Shell, Tarvelo being the session's input method (the build's tarvelo --ibus, started by the
// shell's ibus-daemon), and, for comparison, how long the same field takes to show a word that needs
// nothing: the difference is what correcting costs beyond the path every key takes. Timed from the
// space's press sent to Mutter to the field reading the expected text, polled through the field's pipe.
// Run by hand, with the build's component first in IBUS_COMPONENT_PATH (one line):
//   IBUS_COMPONENT_PATH=build/dev/ibus/component:/usr/share/ibus/component
//   scripts/gnome-session build/dev/tests/wayland/tarvelo_wayland_benchmark [WORDS]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gnome_session.h"
#include "key_injector.h"
#include "space_to_text.h"
#include "wayland_field.h"

namespace tarvelo::wayland::testing {
namespace {

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
    std::printf("%-5s %-10s %6s %8s %8s %6s\n", "field", "word", "timed", "median", "p95", "missed");
    for (const Toolkit toolkit : {Toolkit::gtk3, Toolkit::gtk4, Toolkit::qt6}) {
        for (const bool corrected : {true, false}) {
            const WaylandField::Options options{toolkit, false, Desktop::gnome};
            const SpaceTimes times = corrected ? spaceToText(*keyboard, options, "ghbdtn", "привет ", words)
                                                  : spaceToText(*keyboard, options, "hello", "hello ", words);
            if (times.milliseconds.empty()) return 1;
            std::printf("%-5s %-10s %6zu %6.1f ms %5.1f ms %6d\n", toolkitName(toolkit),
                        corrected ? "corrected" : "as typed", times.milliseconds.size(),
                        percentile(times.milliseconds, 0.5), percentile(times.milliseconds, 0.95), times.leftAsTyped);
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
