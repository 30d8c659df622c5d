// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_input_source_list.h"

#include <gio/gio.h>
// The memory backend is part of the settings backend API, which GIO shows only when asked.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gsettingsbackend.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/linux/ibus/gnome_input_source_setup.h"

namespace tarvelo::desktop {
namespace {

const GnomeInputSource kUs{"xkb", "us"};
const GnomeInputSource kRu{"xkb", "ru"};
const GnomeInputSource kGerman{"xkb", "de"};
const GnomeInputSource kInternational{"xkb", "us+intl"};
const GnomeInputSource kAnthy{"ibus", "anthy"};
const GnomeInputSource kTarveloUs{"ibus", "tarvelo-us"};
const GnomeInputSource kTarveloRu{"ibus", "tarvelo-ru"};

std::string listed(const GnomeInputSourceList& sources) {
    std::string text;
    for (const GnomeInputSource& source : sources) text += source.type + ":" + source.id + " ";
    return text;
}

TEST(GnomeInputSourceListTest, TarvelosEnginesTakeTheKeyboardsPlacesAndGiveThemBack) {
    struct Case {
        GnomeInputSourceList user;
        GnomeInputSourceList withTarvelo;
    };
    const Case cases[] = {
        {{kUs, kGerman, kRu}, {kTarveloUs, kGerman, kTarveloRu}},
        {{kRu, kAnthy, kUs}, {kTarveloRu, kAnthy, kTarveloUs}},
        // A keyboard the user does not have comes after the others; a variant is another keyboard.
        {{kGerman, kRu}, {kGerman, kTarveloRu, kTarveloUs}},
        {{kInternational}, {kInternational, kTarveloUs, kTarveloRu}},
        {{}, {kTarveloUs, kTarveloRu}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(listed(c.user));
        EXPECT_EQ(listed(withTarveloEngines(c.user)), listed(c.withTarvelo));
        EXPECT_TRUE(listsTarveloEngine(withTarveloEngines(c.user)));
        EXPECT_FALSE(listsTarveloEngine(c.user));
        // Asked twice, nothing more changes.
        EXPECT_EQ(listed(withTarveloEngines(c.withTarvelo)), listed(c.withTarvelo));
    }
    // Back: the keyboards where the engines stood, the user's own order kept.
    EXPECT_EQ(listed(withoutTarveloEngines({kTarveloUs, kGerman, kTarveloRu})), listed({kUs, kGerman, kRu}));
    EXPECT_EQ(listed(withoutTarveloEngines({kGerman, kAnthy})), listed({kGerman, kAnthy}));
    // A keyboard the user kept beside an engine is listed once.
    EXPECT_EQ(listed(withTarveloEngines({kUs, kTarveloUs, kRu})), listed({kTarveloUs, kTarveloRu}));
    EXPECT_EQ(listed(withoutTarveloEngines({kTarveloUs, kUs, kTarveloRu})), listed({kUs, kRu}));
}

// The setup against GNOME's own settings schema, its values kept in memory.
TEST(GnomeInputSourceSetupTest, WritesGnomesSettingsBothWays) {
    const char* before = std::getenv("XDG_CURRENT_DESKTOP");
    const std::optional<std::string> desktop = before != nullptr ? std::optional<std::string>(before) : std::nullopt;
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
    GSettingsBackend* memory = g_memory_settings_backend_new();
    EXPECT_EQ(GnomeInputSourceSetup::open(memory), nullptr) << "offered outside GNOME";
    setenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME", 1);
    std::unique_ptr<GnomeInputSourceSetup> setup = GnomeInputSourceSetup::open(memory);
    if (desktop) {
        setenv("XDG_CURRENT_DESKTOP", desktop->c_str(), 1);
    } else {
        unsetenv("XDG_CURRENT_DESKTOP");
    }
    if (setup == nullptr) {
        g_object_unref(memory);
        GTEST_SKIP() << "GNOME's input-source settings schema is not installed";
    }
    GSettings* settings = g_settings_new_with_backend(kGnomeInputSourcesSchema, memory);
    const auto sources = [&] {
        GVariant* value = g_settings_get_value(settings, kGnomeInputSourcesKey);
        GnomeInputSourceList list = inputSourcesFromVariant(value);
        g_variant_unref(value);
        return listed(list);
    };
    g_settings_set_value(settings, kGnomeInputSourcesKey, inputSourcesToVariant({kUs, kGerman, kRu}));
    EXPECT_FALSE(setup->usesTarvelo());
    EXPECT_TRUE(setup->useTarvelo());
    EXPECT_EQ(sources(), listed({kTarveloUs, kGerman, kTarveloRu}));
    EXPECT_TRUE(setup->usesTarvelo());
    EXPECT_TRUE(setup->restoreKeyboards());
    EXPECT_EQ(sources(), listed({kUs, kGerman, kRu}));
    EXPECT_FALSE(setup->usesTarvelo());
    g_object_unref(settings);
    setup.reset();
    g_object_unref(memory);
}

}  // namespace
}  // namespace tarvelo::desktop
