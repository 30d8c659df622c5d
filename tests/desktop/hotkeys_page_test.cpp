// SPDX-License-Identifier: GPL-3.0-or-later
// The Hotkeys page on the real X11 desktop: a chord recorded with the keyboard becomes the shortcut the
// X server holds for Tarvelo, and pressing it in another program's field does its work.

// GoogleTest and Qt first: Xlib's macros (None, Bool, Status) would break their headers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/settings_navigation.h"
#include "app/ui/chord_recorder.h"
#include "app/ui/desktop_context.h"
#include "app/ui/hotkeys_settings_view.h"
#include "app/ui/key_cap.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "desktop_environment.h"
#include "desktop_tarvelo.h"
#include "test_keyboard.h"
#include "text_field_program.h"

namespace tarvelo::desktop::testing {
namespace {

TEST(HotkeysPageDesktop, RecordedCtrlShiftSpaceConvertsTheLastWordInAGtkField) {
    TARVELO_REQUIRE_DESKTOP();
    std::unique_ptr<Display, decltype(&XCloseDisplay)> user(XOpenDisplay(nullptr), &XCloseDisplay);
    ASSERT_NE(user, nullptr);
    TestKeyboard keyboard(user.get());
    DesktopTarvelo tarvelo;
    ASSERT_TRUE(tarvelo.app.keyboardMonitor.isRunning().get()) << "the tap could not be installed";

    SettingsNavigation navigation;
    ui::DesktopContext context{tarvelo.app, navigation, tarvelo.defaults, KeyLabels::pc()};
    context.unavailableChords = [&tarvelo] { return tarvelo.desktop.unavailableChords(); };
    {
        ui::HotkeysSettingsView page(context);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        auto* recorder = page.findChildren<ui::ChordRecorder*>("chordRecorder").value(1);
        ASSERT_NE(recorder, nullptr);
        QTest::mouseClick(recorder, Qt::LeftButton);
        ASSERT_TRUE(recorder->isRecording());

        // Pressed on the X server's keyboard, as a person presses it.
        keyboard.tap(XK_space, {XK_Control_L, XK_Shift_L});
        const KeyChord ctrlShiftSpace{virtual_key::kSpace, modifier_flag::kCommand | modifier_flag::kShift};
        ASSERT_TRUE(iterateUntil([&] { return tarvelo.settings.convertLastWordChord.get() == ctrlShiftSpace; }))
            << "the page never took the chord";
        EXPECT_FALSE(recorder->isRecording());
        EXPECT_EQ(page.findChildren<ui::KeyCap*>().value(1)->text(), "Ctrl+Shift+Space");
    }

    std::string failure;
    const auto program = TextFieldProgram::start({Toolkit::gtk, FieldKind::singleLine, {}}, failure);
    ASSERT_NE(program, nullptr) << failure;
    ASSERT_TRUE(iterateUntil([&] { return tarvelo.desktop.accessibility().focusedElement() != nullptr; }, 10.0));
    const auto fieldBecomes = [&](const std::string& expected) {
        return iterateUntil([&] {
            std::optional<std::string> marked = program->markedText();
            if (marked) std::erase(*marked, '|');
            return marked == expected;
        });
    };

    keyboard.type("ntrcn");
    ASSERT_TRUE(fieldBecomes("ntrcn"));
    keyboard.tap(XK_space, {XK_Control_L, XK_Shift_L});
    EXPECT_TRUE(fieldBecomes("текст")) << program->markedText().value_or("(no answer)");
    EXPECT_TRUE(iterateUntil([&] { return tarvelo.app.engine.statusMessage().get() == "Text converted"; }))
        << tarvelo.app.engine.statusMessage().get();

    // The old chord is the field's again: Tarvelo no longer converts with it.
    keyboard.type(" ghbdtn");
    keyboard.tap(XK_space, {XK_Control_L, XK_Alt_L});
    iterateFor(0.5);
    EXPECT_EQ(program->markedText().value_or("").find("привет"), std::string::npos) << *program->markedText();
}

}  // namespace
}  // namespace tarvelo::desktop::testing

int main(int argc, char** argv) {
    // The page is a Qt window on the test's X display; Qt's event loop runs on GLib's main context,
    // which the test iterates. Without a display the test skips, and Qt must not fail to start first.
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
