// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/gnome_shell_keybindings.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

TEST(GnomeShellKeybindingsTest, AcceleratorsAreNamedAsTarveloNamesChords) {
    EXPECT_EQ(chordOfAccelerator("<Alt>space"), "Alt+Space");
    EXPECT_EQ(chordOfAccelerator("<Primary><Shift>space"), "Ctrl+Shift+Space");
    EXPECT_EQ(chordOfAccelerator("<Control><Alt>Space"), "Ctrl+Alt+Space");
    EXPECT_EQ(chordOfAccelerator("<Super>a"), "Super+A");
    EXPECT_EQ(chordOfAccelerator("<Mod4><Shift>F5"), "Shift+Super+F5");
    EXPECT_EQ(chordOfAccelerator("<Alt>F7"), "Alt+F7");
    // Keys and modifiers no shortcut of Tarvelo's uses, bindings that are off, text that is no accelerator.
    EXPECT_EQ(chordOfAccelerator("<Alt>Tab"), std::nullopt);
    EXPECT_EQ(chordOfAccelerator("<Hyper>space"), std::nullopt);
    EXPECT_EQ(chordOfAccelerator("space"), std::nullopt);
    EXPECT_EQ(chordOfAccelerator(""), std::nullopt);
    EXPECT_EQ(chordOfAccelerator("disabled"), std::nullopt);
    EXPECT_EQ(chordOfAccelerator("<Alt"), std::nullopt);
    EXPECT_EQ(chordOfAccelerator("<Alt><Alt>space"), std::nullopt);
}

// The installed schemas' defaults in a settings store of the test's own, changed as a user would.
class GnomeShellBoundChordsTest : public testing::Test {
protected:
    void SetUp() override {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        GSettingsSchema* schema =
            source != nullptr ? g_settings_schema_source_lookup(source, "org.gnome.desktop.wm.keybindings", TRUE) : nullptr;
        if (schema == nullptr) GTEST_SKIP() << "GNOME's key-binding settings are not installed";
        g_settings_schema_unref(schema);
        backend_.reset(g_memory_settings_backend_new());
    }

    void bind(const char* key, std::vector<const char*> accelerators) {
        std::unique_ptr<GSettings, decltype(&g_object_unref)> settings(
            g_settings_new_with_backend("org.gnome.desktop.wm.keybindings", backend_.get()), g_object_unref);
        accelerators.push_back(nullptr);
        ASSERT_TRUE(g_settings_set_strv(settings.get(), key, accelerators.data()));
    }

    static bool has(const std::vector<std::string>& chords, const std::string& chord) {
        return std::find(chords.begin(), chords.end(), chord) != chords.end();
    }

    std::unique_ptr<GSettingsBackend, decltype(&g_object_unref)> backend_{nullptr, g_object_unref};
};

TEST_F(GnomeShellBoundChordsTest, TheWindowMenusAltSpaceIsBoundUntilTheUserMovesIt) {
    const std::vector<std::string> standard = gnomeShellBoundChords("GNOME", backend_.get());
    EXPECT_TRUE(has(standard, "Alt+Space"));
    EXPECT_FALSE(has(standard, "Ctrl+Alt+Space"));
    EXPECT_FALSE(has(standard, "Ctrl+Shift+Space"));

    bind("activate-window-menu", {"<Primary><Shift>space"});
    const std::vector<std::string> moved = gnomeShellBoundChords("ubuntu:GNOME", backend_.get());
    EXPECT_FALSE(has(moved, "Alt+Space"));
    EXPECT_TRUE(has(moved, "Ctrl+Shift+Space"));

    bind("activate-window-menu", {});
    EXPECT_FALSE(has(gnomeShellBoundChords("GNOME", backend_.get()), "Alt+Space"));
}

// Another desktop's window manager does not read GNOME's settings, installed or not.
TEST_F(GnomeShellBoundChordsTest, OtherDesktopsBindNothingOfGnomes) {
    EXPECT_TRUE(gnomeShellBoundChords("KDE", backend_.get()).empty());
    EXPECT_TRUE(gnomeShellBoundChords("", backend_.get()).empty());
    EXPECT_TRUE(gnomeShellBoundChords("GNOME-Flashback-ish", backend_.get()).empty());
}

}  // namespace
}  // namespace tarvelo::desktop
