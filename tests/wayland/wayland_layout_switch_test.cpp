// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's engines as a headless GNOME Shell's input sources, with the layout switched after a
// correction: the shell is to move to the other engine's source itself, so that the keys typed next come
// out in the corrected word's layout through the keymap, and the user's list of sources stays as it was.
// A program of its own because Tarvelo reads the setting when IBus starts it, once per program; the
// same words without the setting are in wayland_engine_test.cpp.
#include <glib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gnome_session.h"
#include "gnome_session_test.h"
#include "key_injector.h"
#include "wayland_field.h"

namespace tarvelo::wayland::testing {
namespace {

const InputSource kTarveloEnglish{"ibus", "tarvelo-us"};
const InputSource kTarveloRussian{"ibus", "tarvelo-ru"};
const InputSource kGerman{"xkb", "de"};

// The list of sources once it reads `expected` (or as it is when that does not come in time).
std::vector<InputSource> sourcesWhenTheyRead(const std::vector<InputSource>& expected) {
    const gint64 limit = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
    std::vector<InputSource> sources;
    while ((sources = inputSources()) != expected && g_get_monotonic_time() < limit) g_usleep(50 * 1000);
    return sources;
}

class WaylandLayoutSwitchTest : public GnomeSessionTest {
protected:
    static void SetUpTestSuite() { startSession(true, {"settings.switchLayoutAfterCorrection"}); }

    // Makes `sources` the user's list with the first one active. A list of that one alone first: the
    // shell starts its order of use afresh from a list that short, so that the next list's first source
    // is the one it activates.
    static void activate(const std::vector<InputSource>& sources) {
        std::string failure;
        ASSERT_TRUE(selectInputSources({sources.front()}, failure)) << failure;
        ASSERT_TRUE(selectInputSources(sources, failure)) << failure;
    }

};

// The word after the correction is typed with no space after it: only the keymap can make it Russian
// then, as Tarvelo corrects a word when it ends.
TEST_F(WaylandLayoutSwitchTest, AfterACorrectionTheNextWordComesOutInItsLayout) {
    for (const Toolkit toolkit : {Toolkit::gtk4, Toolkit::qt6, Toolkit::gtk3}) {
        SCOPED_TRACE(toolkitName(toolkit));
        // The user's list has a source that is not Tarvelo's between the two, which the switch keeps.
        const std::vector<InputSource> userSources{kTarveloEnglish, kGerman, kTarveloRussian};
        activate(userSources);
        std::string failure;
        const std::unique_ptr<WaylandField> field = WaylandField::start({toolkit, false}, failure);
        ASSERT_NE(field, nullptr) << failure;
        ASSERT_TRUE(keyboard_->type("ghbdtn ")) << keyboard_->lastError();
        ASSERT_EQ(field->textWhenItReads("привет "), "привет ");
        ASSERT_TRUE(waitForIbusEngine(kTarveloRussian.second, failure)) << failure;
        EXPECT_EQ(sourcesWhenTheyRead(userSources), userSources);
        ASSERT_TRUE(keyboard_->type("vbh")) << keyboard_->lastError();
        EXPECT_EQ(field->textWhenItReads("привет мир"), "привет мир");
        ASSERT_TRUE(keyboard_->type(" ")) << keyboard_->lastError();
        EXPECT_EQ(field->textWhenItReads("привет мир "), "привет мир ");
        EXPECT_EQ(activeIbusEngine(), kTarveloRussian.second);
    }
}

// The other way: an English word typed on the Russian source, and English after it. Qt only, as GTK 3
// cannot take the deletion of a Cyrillic word whole (tests/wayland/README.md).
TEST_F(WaylandLayoutSwitchTest, AfterACorrectionToEnglishTheNextWordComesOutEnglish) {
    const std::vector<InputSource> userSources{kTarveloRussian, kTarveloEnglish};
    activate(userSources);
    std::string failure;
    const std::unique_ptr<WaylandField> field = WaylandField::start({Toolkit::qt6, false}, failure);
    ASSERT_NE(field, nullptr) << failure;
    ASSERT_TRUE(keyboard_->type("hello ")) << keyboard_->lastError();
    ASSERT_EQ(field->textWhenItReads("hello "), "hello ");
    ASSERT_TRUE(waitForIbusEngine(kTarveloEnglish.second, failure)) << failure;
    EXPECT_EQ(sourcesWhenTheyRead(userSources), userSources);
    ASSERT_TRUE(keyboard_->type("world")) << keyboard_->lastError();
    EXPECT_EQ(field->textWhenItReads("hello world"), "hello world");
}

}  // namespace
}  // namespace tarvelo::wayland::testing
