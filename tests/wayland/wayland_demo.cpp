// SPDX-License-Identifier: GPL-3.0-or-later
// What Tarvelo does on GNOME Wayland, shown: in a headless GNOME Shell (scripts/gnome-session) with
// Tarvelo's English engine as the input source, a sentence of wrong-layout words is typed at a
// person's pace into a Qt 6 field; the keys and the field's text are printed, and a picture of the
// field is saved as FOLDER/gnome_wayland_field.png. scripts/demo --gnome runs it.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "gnome_session.h"
#include "key_injector.h"
#include "wayland_field.h"

namespace tarvelo::wayland::testing {
namespace {

int run(const std::string& folder) {
    if (!inGnomeSession()) {
        std::fprintf(stderr, "run under scripts/gnome-session\n");
        return 2;
    }
    std::string failure;
    std::unique_ptr<KeyInjector> keyboard;
    if (!prepareTarveloEngines(failure) || (keyboard = KeyInjector::start(failure)) == nullptr ||
        !selectInputSources({{"ibus", "tarvelo-us"}, {"ibus", "tarvelo-ru"}}, failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    const std::unique_ptr<WaylandField> field = WaylandField::start({Toolkit::qt6, false, Desktop::gnome}, failure);
    if (field == nullptr) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    // Typed with English (Tarvelo) selected, meant in Russian.
    const std::string keys = "ghbdtn vbh ctujlyz ";
    const std::string meant = "привет мир сегодня ";
    keyboard->setPace(Keyboard::kHuman);
    if (!keyboard->type(keys)) {
        std::fprintf(stderr, "%s\n", keyboard->lastError().c_str());
        return 1;
    }
    const std::optional<std::string> shown = field->textWhenItReads(meant);
    std::printf("typed:  %s\nfield:  %s\n", keys.c_str(), shown ? shown->c_str() : "(unreadable)");
    const std::string picture = folder + "/gnome_wayland_field.png";
    if (!field->saveScreenshot(picture)) {
        std::fprintf(stderr, "the field could not save %s\n", picture.c_str());
        return 1;
    }
    std::printf("saved:  %s\n", picture.c_str());
    return shown == meant ? 0 : 1;
}

}  // namespace
}  // namespace tarvelo::wayland::testing

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvelo_wayland_demo FOLDER\n");
        return 2;
    }
    return tarvelo::wayland::testing::run(argv[1]);
}
