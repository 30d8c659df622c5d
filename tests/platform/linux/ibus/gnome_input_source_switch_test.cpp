// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_input_source_switch.h"

#include <glib.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/fake/manual_clock.h"
#include "platform/fake/manual_scheduler.h"
#include "platform/linux/ibus/gnome_input_source_list.h"

namespace tarvelo::desktop {
namespace {

const GnomeInputSource kEnglish{"ibus", "tarvelo-us"};
const GnomeInputSource kRussian{"ibus", "tarvelo-ru"};
const GnomeInputSource kGerman{"xkb", "de"};
// The user's list, in the user's order, with a source that is not Tarvelo's among them.
const GnomeInputSourceList kUserSources{kEnglish, kGerman, kRussian};

// org.gnome.desktop.input-sources' `sources` as the switch sees it, with every list written to it kept
// in order; `refuse` makes the next writes fail, as a settings backend that cannot store them.
class InputSourceSwitchTest : public testing::Test {
protected:
    std::unique_ptr<GnomeInputSourceSwitch> makeSwitch() {
        return std::make_unique<GnomeInputSourceSwitch>(
            scheduler_, [this] { return sources_; },
            [this](const GnomeInputSourceList& sources) {
                if (refuse_) return false;
                sources_ = sources;
                written_.push_back(sources);
                return true;
            });
    }

    ManualClock clock_;
    ManualScheduler scheduler_{clock_};
    GnomeInputSourceList sources_ = kUserSources;
    std::vector<GnomeInputSourceList> written_;
    bool refuse_ = false;
};

TEST_F(InputSourceSwitchTest, TheWantedSourceStandsAloneUntilItsEngineRunsThenTheUsersListComesBack) {
    const auto sourceSwitch = makeSwitch();
    ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
    EXPECT_EQ(sources_, (GnomeInputSourceList{kRussian, kRussian}));
    EXPECT_TRUE(sourceSwitch->switching());
    // Another engine (the one being left, IBus's own) is not the one asked for.
    sourceSwitch->engineChanged("tarvelo-us");
    sourceSwitch->engineChanged("xkb:us::eng");
    EXPECT_EQ(sources_, (GnomeInputSourceList{kRussian, kRussian}));
    sourceSwitch->engineChanged("tarvelo-ru");
    EXPECT_EQ(sources_, kUserSources);
    EXPECT_FALSE(sourceSwitch->switching());
    // Done: neither the timeout nor a later change of engine writes again.
    scheduler_.advance(GnomeInputSourceSwitch::kTimeout + 1.0);
    sourceSwitch->engineChanged("tarvelo-us");
    sourceSwitch->engineChanged("tarvelo-ru");
    EXPECT_EQ(written_, (std::vector<GnomeInputSourceList>{{kRussian, kRussian}, kUserSources}));
}

TEST_F(InputSourceSwitchTest, NothingIsWrittenForAnEngineTheUserHasNotListedOrWhenTheSettingsRefuse) {
    const auto sourceSwitch = makeSwitch();
    sources_ = {kEnglish, kGerman};
    EXPECT_FALSE(sourceSwitch->select("tarvelo-ru"));
    // The engine's name as an xkb layout is not the engine's source.
    sources_ = {kEnglish, {"xkb", "tarvelo-ru"}};
    EXPECT_FALSE(sourceSwitch->select("tarvelo-ru"));
    sources_ = {};
    EXPECT_FALSE(sourceSwitch->select("tarvelo-ru"));
    EXPECT_TRUE(written_.empty());
    EXPECT_FALSE(sourceSwitch->switching());

    sources_ = kUserSources;
    refuse_ = true;
    EXPECT_FALSE(sourceSwitch->select("tarvelo-ru"));
    EXPECT_FALSE(sourceSwitch->switching());
    EXPECT_EQ(sources_, kUserSources);
}

TEST_F(InputSourceSwitchTest, WhenTheShellDoesNotSwitchTheUsersListComesBackAfterTheTimeout) {
    const auto sourceSwitch = makeSwitch();
    ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
    scheduler_.advance(GnomeInputSourceSwitch::kTimeout - 0.01);
    EXPECT_EQ(sources_, (GnomeInputSourceList{kRussian, kRussian}));
    scheduler_.advance(0.02);
    EXPECT_EQ(sources_, kUserSources);
    EXPECT_FALSE(sourceSwitch->switching());
    // The engine arriving late changes nothing more.
    sourceSwitch->engineChanged("tarvelo-ru");
    EXPECT_EQ(written_.size(), 2U);
}

TEST_F(InputSourceSwitchTest, AListSomeoneElseWroteDuringTheSwitchIsLeftAsItIs) {
    const GnomeInputSourceList theirs{kGerman, kRussian};
    {
        const auto sourceSwitch = makeSwitch();
        ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
        sources_ = theirs;
        sourceSwitch->engineChanged("tarvelo-ru");
        EXPECT_EQ(sources_, theirs);
        EXPECT_FALSE(sourceSwitch->switching());
    }
    {
        const auto sourceSwitch = makeSwitch();
        sources_ = kUserSources;
        ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
        sources_ = theirs;
        scheduler_.advance(GnomeInputSourceSwitch::kTimeout + 0.1);
        EXPECT_EQ(sources_, theirs);
        // A switch started after their change keeps their list, not the one from before.
        ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
        sourceSwitch->engineChanged("tarvelo-ru");
        EXPECT_EQ(sources_, theirs);
    }
}

// Two corrections in a row, the second before the shell took up the first: the list kept aside is still
// the user's, not the passing one, and the first switch's timeout does not cut the second one short.
TEST_F(InputSourceSwitchTest, ASecondSwitchDuringTheFirstStillEndsWithTheUsersList) {
    const auto sourceSwitch = makeSwitch();
    ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
    scheduler_.advance(GnomeInputSourceSwitch::kTimeout / 2 + 0.5);
    ASSERT_TRUE(sourceSwitch->select("tarvelo-us"));
    EXPECT_EQ(sources_, (GnomeInputSourceList{kEnglish, kEnglish}));
    scheduler_.advance(GnomeInputSourceSwitch::kTimeout / 2);
    EXPECT_EQ(sources_, (GnomeInputSourceList{kEnglish, kEnglish}));
    sourceSwitch->engineChanged("tarvelo-ru");
    EXPECT_TRUE(sourceSwitch->switching());
    sourceSwitch->engineChanged("tarvelo-us");
    EXPECT_EQ(sources_, kUserSources);
}

TEST_F(InputSourceSwitchTest, TheUsersListComesBackWhenTheSwitchEndsEarly) {
    {
        const auto sourceSwitch = makeSwitch();
        ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
    }
    EXPECT_EQ(sources_, kUserSources);
    // A switch that ended already writes nothing more.
    const auto sourceSwitch = makeSwitch();
    ASSERT_TRUE(sourceSwitch->select("tarvelo-ru"));
    sourceSwitch->engineChanged("tarvelo-ru");
    const std::size_t writes = written_.size();
    sourceSwitch->finish();
    EXPECT_EQ(written_.size(), writes);
}

// The settings' a(ss) value, both ways.
TEST(GnomeInputSourceList, ReadsAndWritesTheSettingsValue) {
    GVariant* value =
        g_variant_ref_sink(g_variant_new_parsed("[('xkb', 'us'), ('ibus', 'tarvelo-ru'), ('xkb', 'ru+phonetic')]"));
    const GnomeInputSourceList sources = inputSourcesFromVariant(value);
    EXPECT_EQ(sources, (GnomeInputSourceList{{"xkb", "us"}, {"ibus", "tarvelo-ru"}, {"xkb", "ru+phonetic"}}));
    GVariant* written = g_variant_ref_sink(inputSourcesToVariant(sources));
    EXPECT_TRUE(g_variant_equal(written, value));
    g_variant_unref(written);
    g_variant_unref(value);

    GVariant* empty = g_variant_ref_sink(inputSourcesToVariant({}));
    gchar* text = g_variant_print(empty, TRUE);
    EXPECT_STREQ(text, "@a(ss) []");
    g_free(text);
    g_variant_unref(empty);

    // Any other type (a broken or foreign value) is no list at all.
    EXPECT_TRUE(inputSourcesFromVariant(nullptr).empty());
    GVariant* strings = g_variant_ref_sink(g_variant_new_parsed("['us', 'ru']"));
    EXPECT_TRUE(inputSourcesFromVariant(strings).empty());
    g_variant_unref(strings);
}

}  // namespace
}  // namespace tarvelo::desktop
