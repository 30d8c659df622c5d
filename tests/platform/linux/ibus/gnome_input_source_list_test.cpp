// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_input_source_list.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarvelo::desktop
