// SPDX-License-Identifier: GPL-3.0-or-later
// Tarvelo's fcitx5 module in a real fcitx5 on a private session bus: fcitx5 started with the build's
// module and its D-Bus frontend, Tarvelo serving the module from this process, and a field of the
// frontend that keeps its text as an application would (fcitx5_session.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "desktop_environment.h"
#include "fcitx5_session.h"

namespace tarvelo::desktop::testing {
namespace {

Fcitx5Session* g_session = nullptr;

class Fcitx5ModuleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { g_session = new Fcitx5Session; }
    static void TearDownTestSuite() {
        delete g_session;
        g_session = nullptr;
    }
    void SetUp() override {
        if (g_session->failure == "fcitx5 is not installed") {
            const char* required = std::getenv("TARVELO_REQUIRE_DESKTOP");
            if (required != nullptr && std::string(required) == "1") FAIL() << g_session->failure;
            GTEST_SKIP() << g_session->failure;
        }
        ASSERT_TRUE(g_session->failure.empty()) << g_session->failure;
        tarvelo_ = g_session->tarvelo.get();
        ASSERT_TRUE(tarvelo_->app.keyboardMonitor.isRunning().get());
        const std::vector<std::string> learned = tarvelo_->exceptions.words().get();
        for (const std::string& word : learned) tarvelo_->exceptions.remove(word);
    }
    void TearDown() override {
        if (tarvelo_ != nullptr) tarvelo_->app.keyboardMonitor.restartIfPossible();
    }
    bool statusBecomes(const std::string& expected) {
        return iterateUntil([&] { return tarvelo_->app.engine.statusMessage().get() == expected; });
    }

    DesktopTarvelo* tarvelo_ = nullptr;
};

TEST_F(Fcitx5ModuleTest, WrongLayoutWordIsCorrectedThroughFcitx5AndCtrlZPutsItBack) {
    FrontendField field(g_session->application, kCapabilitySurroundingText);
    ASSERT_TRUE(field.isOpen());
    field.type("ghbdtn ");
    EXPECT_EQ(field.text(), "привет ");
    ASSERT_TRUE(statusBecomes("Last word corrected"));
    field.press('z', "z", kControlMask);
    EXPECT_EQ(field.text(), "ghbdtn ");

    // On keyboard-ru the same keys are Russian, and an English word typed on them is corrected.
    field.setInputMethod("keyboard-ru");
    ASSERT_TRUE(iterateUntil([&] { return tarvelo_->desktop.inputContext().selectedKeyboardInputSource() == "ru"; }));
    for (const auto& [key, text] : {std::pair{'h', "р"}, {'e', "у"}, {'l', "д"}, {'l', "д"}, {'o', "щ"}, {' ', " "}}) {
        field.press(key, text);
    }
    EXPECT_EQ(field.text(), "ghbdtn hello ");
    field.setInputMethod("keyboard-us");
}

TEST_F(Fcitx5ModuleTest, AnEditReachingPastTheTextFcitx5HasIsNotMade) {
    FrontendField field(g_session->application, kCapabilitySurroundingText);
    ASSERT_TRUE(field.isOpen());
    field.setReportsText(false);
    field.type("ghbdtn ");
    // fcitx5 still has the empty text: the deletion could not be made, so neither is the commit.
    EXPECT_EQ(field.text(), "ghbdtn ");
    iterateFor(0.3);
    EXPECT_NE(tarvelo_->app.engine.statusMessage().get(), "Last word corrected");
    EXPECT_FALSE(tarvelo_->app.engine.lastCorrection().get());

    // Once the field tells its text, the next word is corrected as usual.
    field.setReportsText(true);
    field.type("ckjdj ");
    EXPECT_EQ(field.text(), "ghbdtn слово ");
}

TEST_F(Fcitx5ModuleTest, APasswordFieldIsLeftAlone) {
    FrontendField field(g_session->application, kCapabilitySurroundingText | kCapabilityPassword);
    ASSERT_TRUE(field.isOpen());
    field.type("ghbdtn ");
    EXPECT_EQ(field.text(), "ghbdtn ");
}

TEST_F(Fcitx5ModuleTest, KeysPassUnchangedWhileTarveloIsNotRunning) {
    g_session->tarvelo.reset();
    tarvelo_ = nullptr;
    // fcitx5 hears that the name has gone.
    iterateFor(0.2);
    {
        FrontendField field(g_session->application, kCapabilitySurroundingText);
        ASSERT_TRUE(field.isOpen());
        field.type("ghbdtn ");
        EXPECT_EQ(field.text(), "ghbdtn ");
    }
    // And once Tarvelo is back, the module finds it again.
    g_session->startTarvelo();
    tarvelo_ = g_session->tarvelo.get();
    FrontendField field(g_session->application, kCapabilitySurroundingText);
    field.type("ghbdtn ");
    EXPECT_EQ(field.text(), "привет ");
}

}  // namespace
}  // namespace tarvelo::desktop::testing
