// SPDX-License-Identifier: GPL-3.0-or-later
// What a user meets who has chosen a Tarvelo input source: IBus starts the program named by the
// component (the build's tarvelo --ibus) and the words come out corrected; where that program cannot
// start, the keys still reach the application unchanged. This process is only the user and the daemon.

// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>

#include "desktop_environment.h"
#include "ibus_daemon.h"
#include "test_keyboard.h"
#include "text_field_program.h"

namespace tarvelo::desktop::testing {
namespace {

// The field, the user's keyboard, and typing once the field is surely listening.
struct UserAtAField {
    std::unique_ptr<Display, decltype(&XCloseDisplay)> user{XOpenDisplay(nullptr), &XCloseDisplay};
    TestKeyboard keyboard{user.get()};
    std::unique_ptr<TextFieldProgram> program;

    bool open(std::string& failure) {
        program = TextFieldProgram::start({Toolkit::gtk, FieldKind::singleLine, {}}, failure);
        if (program == nullptr) return false;
        // The first keys after the field has appeared can be lost: one that types nothing goes first.
        iterateFor(0.5);
        keyboard.tap(XK_Escape);
        iterateFor(0.3);
        return true;
    }
    void type(const char* text) {
        keyboard.type(text);
        XSync(user.get(), False);
    }
    std::optional<std::string> text() {
        std::optional<std::string> marked = program->markedText();
        if (marked) std::erase(*marked, '|');
        return marked;
    }
};

TEST(IbusComponent, IbusStartsTarveloForItsEngineAndTheWordIsCorrected) {
    TARVELO_REQUIRE_DESKTOP();
    IbusDaemon daemon;
    ASSERT_TRUE(daemon.failure().empty()) << daemon.failure();
    // A user who has been through the welcome already: no window takes the focus from the field.
    const std::string settings = daemon.configHome() + "/tarvelo";
    g_mkdir_with_parents(settings.c_str(), 0700);
    std::ofstream(settings + "/defaults.json")
        << R"({"values": {"settings.onboarding": {"kind": "boolean", "value": true}}})";
    // IBus starts the component's program and waits for it to offer the engine.
    ASSERT_TRUE(IbusDaemon::selectEngine("tarvelo-us")) << "IBus did not get the engine from tarvelo --ibus";

    UserAtAField field;
    std::string failure;
    ASSERT_TRUE(field.open(failure)) << failure;
    field.type("ghbdtn ");
    EXPECT_TRUE(iterateUntil([&] { return field.text() == "привет "; }, 10.0)) << field.text().value_or("(no answer)");
}

TEST(IbusComponent, KeysReachTheApplicationUnchangedWhereTarveloCannotStart) {
    TARVELO_REQUIRE_DESKTOP();
    // The build's component, with a program that ends at once in place of Tarvelo.
    gchar* folder = g_dir_make_tmp("tarvelo-component-XXXXXX", nullptr);
    ASSERT_NE(folder, nullptr);
    const std::string components = folder;
    g_free(folder);
    std::ifstream original(std::string(TARVELO_IBUS_COMPONENT_DIR) + "/tarvelo.xml");
    const std::string description{std::istreambuf_iterator<char>(original), std::istreambuf_iterator<char>()};
    ASSERT_NE(description.find("<exec>"), std::string::npos);
    std::ofstream(components + "/tarvelo.xml")
        << std::regex_replace(description, std::regex("<exec>[^<]*</exec>"), "<exec>/bin/false</exec>");

    IbusDaemon daemon(components);
    ASSERT_TRUE(daemon.failure().empty()) << daemon.failure();
    // IBus may or may not say that the engine could not be had; the keys are what matters.
    IbusDaemon::selectEngine("tarvelo-us");
    UserAtAField field;
    std::string failure;
    ASSERT_TRUE(field.open(failure)) << failure;
    field.type("ghbdtn vbh ");
    EXPECT_TRUE(iterateUntil([&] { return field.text() == "ghbdtn vbh "; }, 5.0)) << field.text().value_or("(no answer)");
    iterateFor(0.5);
    EXPECT_EQ(field.text(), "ghbdtn vbh ");
    const std::string command = "rm -rf '" + components + "'";
    [[maybe_unused]] const int status = std::system(command.c_str());
}

}  // namespace
}  // namespace tarvelo::desktop::testing
