// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's engines are the input sources and Tarvelo's process has ended: the keys must still reach
// the applications as the engine's keymap gives them, nothing lost, moved or changed. IBus starts the
// component's program again when an engine is next used; this session's component starts Tarvelo
// through a script that stays idle once the test has asked for Tarvelo to stay stopped (see
// CMakeLists.txt), so the case sees IBus's side alone.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <glib.h>

#include <cstdlib>
#include <fstream>
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

// Whether process `pid` runs the build's Tarvelo for this session (a developer's own Tarvelo from the
// same build, outside the session, has another Wayland display). An ended process waiting for its
// parent to collect it runs nothing.
bool isSessionTarvelo(const std::string& pid) {
    std::vector<char> target(4096);
    const std::string proc = "/proc/" + pid;
    const ssize_t length = readlink((proc + "/exe").c_str(), target.data(), target.size() - 1);
    if (length <= 0 || std::string(target.data(), static_cast<std::size_t>(length)) != TARVELO_PROGRAM) return false;
    std::ifstream environment(proc + "/environ");
    const std::string wanted = std::string("WAYLAND_DISPLAY=") + std::getenv("WAYLAND_DISPLAY");
    std::string entry;
    while (std::getline(environment, entry, '\0')) {
        if (entry == wanted) return true;
    }
    return false;
}

// The processes running the session's Tarvelo.
std::vector<pid_t> sessionTarvelos() {
    std::vector<pid_t> found;
    const auto closeFolder = [](DIR* folder) { closedir(folder); };
    std::unique_ptr<DIR, decltype(closeFolder)> proc(opendir("/proc"), closeFolder);
    if (proc == nullptr) return found;
    while (const dirent* entry = readdir(proc.get())) {
        const std::string name = entry->d_name;
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (isSessionTarvelo(name)) found.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return found;
}

// The file that keeps the component's script from starting Tarvelo again.
std::string stopFile() { return std::string(std::getenv("XDG_RUNTIME_DIR")) + "/tarvelo-stopped"; }

class WaylandNotRunningTest : public GnomeSessionTest {
protected:
    static void SetUpTestSuite() { startSession(true); }

    // Has IBus start Tarvelo and shows it at work, then ends it (as the session ending it would) and
    // keeps it from starting again.
    static void endTarvelo() {
        std::string failure;
        ASSERT_TRUE(selectInputSources({kTarveloEnglish}, failure)) << failure;
        {
            const std::unique_ptr<WaylandField> field = WaylandField::start({Toolkit::qt6, false}, failure);
            ASSERT_NE(field, nullptr) << failure;
            ASSERT_TRUE(keyboard_->type("ghbdtn ")) << keyboard_->lastError();
            ASSERT_EQ(field->textWhenItReads("привет "), "привет ") << "Tarvelo did not correct before it ended";
        }
        const std::vector<pid_t> running = sessionTarvelos();
        ASSERT_EQ(running.size(), 1U) << "IBus should have started Tarvelo once";
        ASSERT_TRUE(std::ofstream(stopFile()).good());
        ASSERT_EQ(kill(running.front(), SIGTERM), 0);
        const gint64 limit = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
        while (!sessionTarvelos().empty() && g_get_monotonic_time() < limit) g_usleep(50 * 1000);
        ASSERT_TRUE(sessionTarvelos().empty()) << "Tarvelo did not end on SIGTERM";
    }

};

TEST_F(WaylandNotRunningTest, KeysArriveUnchangedWhileTarveloIsNotRunning) {
    ASSERT_NO_FATAL_FAILURE(endTarvelo());
    for (const Toolkit toolkit : {Toolkit::gtk3, Toolkit::gtk4, Toolkit::qt6}) {
        SCOPED_TRACE(toolkitName(toolkit));
        std::string failure;
        const std::unique_ptr<WaylandField> field = WaylandField::start({toolkit, false}, failure);
        ASSERT_NE(field, nullptr) << failure;
        ASSERT_TRUE(keyboard_->type("ghbdtn vbh ")) << keyboard_->lastError();
        EXPECT_EQ(field->textWhenItReads("ghbdtn vbh "), "ghbdtn vbh ");
    }
    // The engine was in use all along, and Tarvelo never came back to correct anything late.
    EXPECT_TRUE(sessionTarvelos().empty());
}

}  // namespace
}  // namespace tarvelo::wayland::testing
