// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's own windows as assistive technologies meet them over AT-SPI: the welcome and every page of
// the settings window have no control without a name, every button, switch and slider offers an
// action, and a check box toggled through its action stores its setting.

#include <atspi/atspi.h>
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "desktop_environment.h"

namespace tarvelo::desktop {
namespace {

using testing::iterateUntil;

// An AT-SPI object, released with it.
class Object {
public:
    explicit Object(AtspiAccessible* object = nullptr) : object_(object) {}
    ~Object() {
        if (object_ != nullptr) g_object_unref(object_);
    }
    Object(Object&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    Object& operator=(Object&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    AtspiAccessible* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    AtspiAccessible* object_;
};

std::string take(gchar* text) {
    std::string result = text == nullptr ? std::string() : std::string(text);
    g_free(text);
    return result;
}

std::string nameOf(AtspiAccessible* object) { return take(atspi_accessible_get_name(object, nullptr)); }
AtspiRole roleOf(AtspiAccessible* object) { return atspi_accessible_get_role(object, nullptr); }

bool has(AtspiAccessible* object, AtspiStateType state) {
    AtspiStateSet* states = atspi_accessible_get_state_set(object);
    const bool present = states != nullptr && atspi_state_set_contains(states, state);
    if (states != nullptr) g_object_unref(states);
    return present;
}

int actionCount(AtspiAccessible* object) {
    AtspiAction* action = atspi_accessible_get_action_iface(object);
    if (action == nullptr) return 0;
    const int count = atspi_action_get_n_actions(action, nullptr);
    g_object_unref(action);
    return count;
}

bool isControl(AtspiRole role) {
    switch (role) {
        case ATSPI_ROLE_PUSH_BUTTON:
        case ATSPI_ROLE_CHECK_BOX:
        case ATSPI_ROLE_TOGGLE_BUTTON:
        case ATSPI_ROLE_SLIDER:
        case ATSPI_ROLE_ENTRY:
        case ATSPI_ROLE_TEXT:
        case ATSPI_ROLE_LIST:
        case ATSPI_ROLE_LINK: return true;
        default: return false;
    }
}

// The showing controls below `object`, depth first.
void collectControls(AtspiAccessible* object, std::vector<Object>& controls, int depth = 0) {
    if (depth > 40) return;
    const int children = atspi_accessible_get_child_count(object, nullptr);
    for (int index = 0; index < children; ++index) {
        Object child(atspi_accessible_get_child_at_index(object, index, nullptr));
        if (!child || !has(child.get(), ATSPI_STATE_SHOWING)) continue;
        collectControls(child.get(), controls, depth + 1);
        if (isControl(roleOf(child.get()))) controls.push_back(std::move(child));
    }
}

// Tarvelo's window named `title`, once it is on the accessibility bus.
Object findWindow(pid_t pid, const std::string& title) {
    Object found;
    iterateUntil(
        [&] {
            Object desktop(atspi_get_desktop(0));
            const int applications = atspi_accessible_get_child_count(desktop.get(), nullptr);
            for (int index = 0; index < applications && !found; ++index) {
                Object application(atspi_accessible_get_child_at_index(desktop.get(), index, nullptr));
                if (!application || atspi_accessible_get_process_id(application.get(), nullptr) != static_cast<guint>(pid)) {
                    continue;
                }
                const int windows = atspi_accessible_get_child_count(application.get(), nullptr);
                for (int window = 0; window < windows && !found; ++window) {
                    Object candidate(atspi_accessible_get_child_at_index(application.get(), window, nullptr));
                    if (candidate && nameOf(candidate.get()) == title) found = std::move(candidate);
                }
            }
            return static_cast<bool>(found);
        },
        15.0);
    return found;
}

// Expects a name on every control of `window` and an action on every enabled one a person operates.
void expectNamedControlsWithActions(AtspiAccessible* window, const std::string& where) {
    std::vector<Object> controls;
    collectControls(window, controls);
    EXPECT_FALSE(controls.empty()) << where;
    for (const Object& control : controls) {
        const AtspiRole role = roleOf(control.get());
        const std::string roleName = take(atspi_accessible_get_role_name(control.get(), nullptr));
        EXPECT_FALSE(nameOf(control.get()).empty()) << where << ": a " << roleName << " without a name";
        // A disabled button ("Add" with nothing typed) rightly offers nothing.
        const bool operable = role == ATSPI_ROLE_PUSH_BUTTON || role == ATSPI_ROLE_CHECK_BOX ||
                              role == ATSPI_ROLE_TOGGLE_BUTTON;
        if (operable && has(control.get(), ATSPI_STATE_ENABLED)) {
            EXPECT_GT(actionCount(control.get()), 0) << where << ": " << nameOf(control.get()) << " has no action";
        }
    }
}

// Tarvelo started in a fresh home of its own, with `defaults` as its stored settings.
class StartedTarvelo {
public:
    explicit StartedTarvelo(const std::string& defaults) : home_(g_dir_make_tmp("tarvelo-walk-XXXXXX", nullptr)) {
        const std::filesystem::path folder = std::filesystem::path(home_) / ".config" / "tarvelo";
        std::filesystem::create_directories(folder);
        if (!defaults.empty()) std::ofstream(folder / "defaults.json") << defaults;
        gchar** environment = g_get_environ();
        environment = g_environ_setenv(environment, "HOME", home_.c_str(), TRUE);
        environment = g_environ_setenv(environment, "XDG_CONFIG_HOME", (home_ + "/.config").c_str(), TRUE);
        environment = g_environ_setenv(environment, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", TRUE);
        environment = g_environ_setenv(environment, "LANGUAGE", "en", TRUE);
        gchar* argv[] = {const_cast<gchar*>(TARVELO_EXECUTABLE), nullptr};
        GPid pid = 0;
        if (g_spawn_async(nullptr, argv, environment, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr)) {
            pid_ = pid;
        }
        g_strfreev(environment);
    }
    ~StartedTarvelo() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        std::filesystem::remove_all(home_);
    }
    StartedTarvelo(const StartedTarvelo&) = delete;
    StartedTarvelo& operator=(const StartedTarvelo&) = delete;

    pid_t pid() const { return pid_; }
    std::string storedSettings() const {
        std::ifstream file(std::filesystem::path(home_) / ".config" / "tarvelo" / "defaults.json");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

private:
    std::string home_;
    pid_t pid_ = 0;
};

TEST(WindowsAccessibilityWalk, TheWelcomeNamesEveryControl) {
    TARVELO_REQUIRE_DESKTOP();
    atspi_init();
    StartedTarvelo tarvelo("");
    ASSERT_GT(tarvelo.pid(), 0);
    const Object welcome = findWindow(tarvelo.pid(), "Welcome to Tarvelo");
    ASSERT_TRUE(welcome) << "the welcome window is not on the accessibility bus";
    expectNamedControlsWithActions(welcome.get(), "welcome");
}

TEST(WindowsAccessibilityWalk, EverySettingsPageNamesEveryControlAndASwitchToggledByItsActionIsStored) {
    TARVELO_REQUIRE_DESKTOP();
    atspi_init();
    // The welcome finished and the icon hidden: the settings window opens at the start.
    StartedTarvelo tarvelo(R"({"values": {"settings.onboarding": {"kind": "boolean", "value": true},
                                          "settings.menuIcon": {"kind": "boolean", "value": false}}})");
    ASSERT_GT(tarvelo.pid(), 0);
    const Object settings = findWindow(tarvelo.pid(), "Tarvelo Settings");
    ASSERT_TRUE(settings) << "the settings window is not on the accessibility bus";

    std::vector<Object> controls;
    collectControls(settings.get(), controls);
    AtspiAccessible* sidebar = nullptr;
    for (const Object& control : controls) {
        if (roleOf(control.get()) == ATSPI_ROLE_LIST) sidebar = control.get();
    }
    ASSERT_NE(sidebar, nullptr);
    EXPECT_EQ(nameOf(sidebar), "Settings sections");
    const int sections = atspi_accessible_get_child_count(sidebar, nullptr);
    EXPECT_EQ(sections, 8);
    // A row is chosen as a screen reader chooses it: by its first action.
    const auto choose = [sidebar](int section) {
        Object row(atspi_accessible_get_child_at_index(sidebar, section, nullptr));
        AtspiAction* action = row ? atspi_accessible_get_action_iface(row.get()) : nullptr;
        const bool done = action != nullptr && atspi_action_do_action(action, 0, nullptr);
        if (action != nullptr) g_object_unref(action);
        testing::iterateFor(0.3);
        return done ? nameOf(row.get()) : std::string();
    };
    for (int section = 0; section < sections; ++section) {
        const std::string title = choose(section);
        ASSERT_FALSE(title.empty()) << "row " << section << " has no action";
        expectNamedControlsWithActions(settings.get(), title);
    }

    // On General, "Play a sound after correction" toggled through its action is stored.
    ASSERT_EQ(choose(0), "General");
    std::vector<Object> general;
    collectControls(settings.get(), general);
    AtspiAccessible* sound = nullptr;
    for (const Object& control : general) {
        if (nameOf(control.get()) == "Play a sound after correction") sound = control.get();
    }
    ASSERT_NE(sound, nullptr);
    AtspiAction* action = atspi_accessible_get_action_iface(sound);
    ASSERT_NE(action, nullptr);
    int toggle = -1;
    for (int index = 0; index < atspi_action_get_n_actions(action, nullptr); ++index) {
        if (take(atspi_action_get_action_name(action, index, nullptr)) == "Toggle") toggle = index;
    }
    ASSERT_GE(toggle, 0) << "no Toggle action";
    EXPECT_TRUE(atspi_action_do_action(action, toggle, nullptr));
    g_object_unref(action);
    EXPECT_TRUE(iterateUntil([&] { return tarvelo.storedSettings().find("\"settings.sound\"") != std::string::npos; }))
        << tarvelo.storedSettings();
}

}  // namespace
}  // namespace tarvelo::desktop
