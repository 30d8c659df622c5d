// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/freedesktop_system_sound.h"

#include <glib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace tarvelo::desktop {
namespace {

namespace fs = std::filesystem;

// A folder with a sound theme and a "player" that writes down the file it was asked to play.
struct SoundFixture : ::testing::Test {
    fs::path root = fs::temp_directory_path() / ("tarvelo-sound-" + std::to_string(g_get_monotonic_time()));
    fs::path sounds = root / "sounds";
    fs::path played = root / "played";
    std::string player = (root / "recording-player").string();

    void SetUp() override {
        fs::create_directories(sounds);
        std::ofstream(sounds / "message.oga") << "not really a sound";
        // Written aside and renamed, so that the file appears whole.
        std::ofstream(player) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << played.string() << ".part' && mv '"
                              << played.string() << ".part' '" << played.string() << "'\n";
        fs::permissions(player, fs::perms::owner_all);
    }
    void TearDown() override { fs::remove_all(root); }

    std::string waitForPlayed() {
        const gint64 limit = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
        while (!fs::exists(played) && g_get_monotonic_time() < limit) g_main_context_iteration(nullptr, FALSE);
        std::ifstream in(played);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(SoundFixture, PlaysTheThemesCounterpartWithTheFirstPlayerFound) {
    FreedesktopSystemSound sound({(root / "missing").string(), sounds.string()}, {"no-such-player-here", player});
    EXPECT_TRUE(sound.play("Tink"));
    EXPECT_EQ(waitForPlayed(), (sounds / "message.oga").string());
}

TEST_F(SoundFixture, AnswersFalseWithoutTheSoundOrAPlayer) {
    EXPECT_FALSE(FreedesktopSystemSound({sounds.string()}, {player}).play("Glass"));
    EXPECT_FALSE(FreedesktopSystemSound({sounds.string()}, {"no-such-player-here"}).play("Tink"));
    EXPECT_FALSE(FreedesktopSystemSound({}, {player}).play("Tink"));
}

}  // namespace
}  // namespace tarvelo::desktop
