// SPDX-License-Identifier: GPL-3.0-or-later
// How long after the space a wrong-layout word stands corrected in each toolkit's field on a headless
// KWin with fcitx5 as its input method and Tarvelo's fcitx5 module loaded, and, for comparison, how
// long the same field takes to show a word that needs nothing: the path every key takes (KWin, fcitx5,
// KWin's text-input, the toolkit). Timed from the space's press sent to KWin (fake input) to the field
// reading the expected text, polled through the field's pipe. The program starts the build's
// tarvelo --fcitx5 in the session and warms it up; fcitx5 must be pointed at the build's module (one
// line):
//   FCITX_ADDON_DIRS=$PWD/build/dev/fcitx5/lib:/usr/lib/x86_64-linux-gnu/fcitx5
//   XDG_DATA_DIRS=$PWD/build/dev/fcitx5/share:/usr/share
//   scripts/kde-session build/dev/tests/wayland/tarvelo_kde_benchmark [WORDS]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "kde_session.h"
#include "kwin_key_injector.h"
#include "space_to_text.h"
#include "wayland_field.h"

namespace tarvelo::kde::testing {
namespace {

using wayland::testing::Desktop;
using wayland::testing::KwinKeyInjector;
using wayland::testing::SpaceTimes;
using wayland::testing::Toolkit;
using wayland::testing::toolkitName;
using wayland::testing::WaylandField;

int run(int words) {
    if (!inKdeSession()) {
        std::fprintf(stderr, "run under scripts/kde-session\n");
        return 2;
    }
    std::string failure;
    std::unique_ptr<TarveloProcess> tarvelo;
    std::unique_ptr<KwinKeyInjector> keyboard;
    if ((tarvelo = TarveloProcess::start(TARVELO_PROGRAM, failure)) == nullptr ||
        (keyboard = KwinKeyInjector::start(failure)) == nullptr || !warmUpTarvelo(*keyboard, failure) ||
        !selectInputMethod(kEnglish, failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    std::printf("%-5s %-10s %6s %8s %8s %6s\n", "field", "word", "timed", "median", "p95", "missed");
    for (const Toolkit toolkit : {Toolkit::gtk3, Toolkit::gtk4, Toolkit::qt6}) {
        for (const bool corrected : {true, false}) {
            const WaylandField::Options options{toolkit, false, Desktop::kde};
            const SpaceTimes times = corrected ? spaceToText(*keyboard, options, "ghbdtn", "привет ", words)
                                                  : spaceToText(*keyboard, options, "hello", "hello ", words);
            if (times.milliseconds.empty()) return 1;
            std::printf("%-5s %-10s %6zu %6.1f ms %5.1f ms %6d\n", toolkitName(toolkit),
                        corrected ? "corrected" : "as typed", times.milliseconds.size(),
                        wayland::testing::percentile(times.milliseconds, 0.5),
                        wayland::testing::percentile(times.milliseconds, 0.95), times.leftAsTyped);
        }
    }
    return 0;
}

}  // namespace
}  // namespace tarvelo::kde::testing

int main(int argc, char** argv) {
    const int words = argc > 1 ? std::atoi(argv[1]) : 30;
    return tarvelo::kde::testing::run(words > 0 ? words : 30);
}
