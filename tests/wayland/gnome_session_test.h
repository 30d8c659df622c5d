// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "key_injector.h"

namespace tarvelo::wayland::testing {

// The fixture of a test program that scripts/gnome-session runs: one remote-desktop key injector for
// the whole program (started once Tarvelo's engines are ready, for a program that uses them), and each
// test typing at the fast pace unless it says otherwise. Outside a GNOME session every test skips, or
// fails where the run requires a desktop.
class GnomeSessionTest : public ::testing::Test {
protected:
    // From the program's SetUpTestSuite. `switchedOn` names boolean settings Tarvelo starts with.
    static void startSession(bool withTarvelo, const std::vector<std::string>& switchedOn = {});
    static void TearDownTestSuite();
    // A fixture's own SetUp calls this first and returns when the test skipped or failed here.
    void SetUp() override;

    static KeyInjector* keyboard_;
    static std::string startFailure_;
};

}  // namespace tarvelo::wayland::testing
