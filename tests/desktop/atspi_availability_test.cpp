// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/atspi/atspi_availability.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "desktop_environment.h"
#include "platform/linux/atspi/atspi_accessibility_api.h"
#include "text_field_program.h"

namespace tarvelo::desktop {
namespace {

using testing::FieldKind;
using testing::iterateUntil;
using testing::TextFieldProgram;
using testing::Toolkit;

TEST(AtspiAvailability, TheRegistryOfTheSessionAnswers) {
    TARVELO_REQUIRE_DESKTOP();
    AtspiAvailability availability;
    EXPECT_TRUE(availability.isAvailable());
}

TEST(AtspiAvailability, QtApplicationsStartedAfterTheRequestExposeTheirText) {
    TARVELO_REQUIRE_DESKTOP();
    AtspiAvailability availability;
    ASSERT_TRUE(availability.requestAccessibility());
    EXPECT_TRUE(availability.isEnabledForApplications());

    AtspiAccessibilityApi api;
    TextFieldProgram::Options options;
    options.toolkit = Toolkit::qt;
    options.kind = FieldKind::singleLine;
    // Without the session's setting, only this variable would make Qt expose its widgets.
    options.unsetEnvironment = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"};
    std::string failure;
    const std::unique_ptr<TextFieldProgram> program = TextFieldProgram::start(options, failure);
    ASSERT_NE(program, nullptr) << failure;
    EXPECT_TRUE(iterateUntil([&] { return api.focusedElement() != nullptr; }, 10.0));
}

}  // namespace
}  // namespace tarvelo::desktop
