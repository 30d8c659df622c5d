// SPDX-License-Identifier: GPL-3.0-or-later
#include "gnome_session_test.h"

#include "gnome_session.h"

namespace tarvelo::wayland::testing {

KeyInjector* GnomeSessionTest::keyboard_ = nullptr;
std::string GnomeSessionTest::startFailure_;

void GnomeSessionTest::startSession(bool withTarvelo, const std::vector<std::string>& switchedOn) {
    if (!inGnomeSession()) return;
    if (withTarvelo && !prepareTarveloEngines(startFailure_, switchedOn)) return;
    keyboard_ = KeyInjector::start(startFailure_).release();
}

void GnomeSessionTest::TearDownTestSuite() {
    delete keyboard_;
    keyboard_ = nullptr;
}

void GnomeSessionTest::SetUp() {
    TARVELO_REQUIRE_GNOME_SESSION();
    ASSERT_NE(keyboard_, nullptr) << startFailure_;
    keyboard_->setPace(KeyInjector::kFast);
}

}  // namespace tarvelo::wayland::testing
