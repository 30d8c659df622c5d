// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <X11/Xatom.h>

#include <memory>
#include <string>

#include "platform/linux/x11/x11_workspace.h"
#include "platform/linux/x11/xkb_input_context.h"
#include "x11_desktop_test.h"

// Which application is in front and which layout is selected, read from the X server.

namespace tarvelo::desktop::testing {
namespace {

using X11DesktopState = X11DesktopTest;

void setUtf8(Display* display, Window window, const char* name, const std::string& value) {
    XChangeProperty(display, window, XInternAtom(display, name, False), XInternAtom(display, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(value.data()), static_cast<int>(value.size()));
    XSync(display, False);
}

TEST_F(X11DesktopState, FrontmostApplicationIsTheActiveTopLevelWindow) {
    X11Workspace workspace(display_.get());
    Display* user = user_.get();
    const Window root = DefaultRootWindow(user);
    EXPECT_EQ(workspace.frontmostApplicationIdentifier(), "TarveloX11Window");

    // Focus on an inner window still names the top-level window's application.
    const Window inner = XCreateSimpleWindow(user, window_->window(), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(user, inner);
    XSync(user, False);
    XSetInputFocus(user, inner, RevertToParent, CurrentTime);
    XSync(user, False);
    EXPECT_EQ(workspace.frontmostApplicationIdentifier(), "TarveloX11Window");

    setUtf8(user, window_->window(), "_GTK_APPLICATION_ID", "org.example.Editor");
    EXPECT_EQ(workspace.frontmostApplicationIdentifier(), "org.example.Editor");

    XSetInputFocus(user, None, RevertToNone, CurrentTime);
    XSync(user, False);
    EXPECT_EQ(workspace.frontmostApplicationIdentifier(), std::nullopt);
    XSetInputFocus(user, PointerRoot, RevertToNone, CurrentTime);
    XSync(user, False);
    EXPECT_EQ(workspace.frontmostApplicationIdentifier(), std::nullopt);

    // A window manager's word wins over the focus.
    const Atom active = XInternAtom(user, "_NET_ACTIVE_WINDOW", False);
    const Window activeWindow = window_->window();
    XChangeProperty(user, root, active, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&activeWindow),
                    1);
    XSync(user, False);
    EXPECT_EQ(workspace.frontmostApplicationIdentifier(), "org.example.Editor");
    XDeleteProperty(user, root, active);
    XSync(user, False);

    // A top-level window with neither property names no application.
    const Window bare = XCreateSimpleWindow(user, root, 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(user, bare);
    XSync(user, False);
    XSetInputFocus(user, bare, RevertToParent, CurrentTime);
    XSync(user, False);
    EXPECT_EQ(workspace.frontmostApplicationIdentifier(), std::nullopt);
    XDestroyWindow(user, bare);
    XSync(user, False);
}

TEST_F(X11DesktopState, OpensOnlyAddressesSomethingCanOpen) {
    X11Workspace workspace(display_.get());
    EXPECT_FALSE(workspace.open("not an address"));
    EXPECT_FALSE(workspace.open(""));
    EXPECT_FALSE(workspace.open("x-tarvelo-nothing-handles-this:anything"));
}

TEST_F(X11DesktopState, InputSourceIsTheCurrentGroupsLayout) {
    XkbInputContext context(keymap_.get());
    EXPECT_EQ(context.selectedKeyboardInputSource(), "us");
    lockGroup(1);
    EXPECT_EQ(context.selectedKeyboardInputSource(), "ru");
    lockGroup(0);
    EXPECT_EQ(context.selectedKeyboardInputSource(), "us");
    EXPECT_EQ(XkbInputContext(nullptr).selectedKeyboardInputSource(), std::nullopt);
}

TEST_F(X11DesktopState, SelectingALayoutLocksTheGroupThatHoldsItOrNothing) {
    XkbInputContext context(keymap_.get());
    ASSERT_TRUE(context.selectKeyboardLayout(KeyboardLayout::russian));
    ASSERT_TRUE(iterateUntil([&] { return keymap_->group() == 1; }));
    EXPECT_EQ(context.selectedKeyboardInputSource(), "ru");
    ASSERT_TRUE(context.selectKeyboardLayout(KeyboardLayout::english));
    ASSERT_TRUE(iterateUntil([&] { return keymap_->group() == 0; }));
    EXPECT_EQ(context.selectedKeyboardInputSource(), "us");
    EXPECT_FALSE(XkbInputContext(nullptr).selectKeyboardLayout(KeyboardLayout::russian));

    // The keymap names its layouts anew without a Russian one: asked for it, the group stays where the
    // user left it.
    lockGroup(1);
    Display* user = user_.get();
    const Atom rulesNames = XInternAtom(user, "_XKB_RULES_NAMES", False);
    const Window root = DefaultRootWindow(user);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* saved = nullptr;
    ASSERT_EQ(XGetWindowProperty(user, root, rulesNames, 0, 1024, False, XA_STRING, &type, &format, &count, &remaining,
                                 &saved),
              Success);
    const std::unique_ptr<unsigned char, decltype(&XFree)> original(saved, &XFree);
    const std::string usAndGerman("evdev\0pc105\0us,de\0\0\0", 20);
    XChangeProperty(user, root, rulesNames, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(usAndGerman.data()), static_cast<int>(usAndGerman.size()));
    XSync(user, False);
    EXPECT_FALSE(context.selectKeyboardLayout(KeyboardLayout::russian));
    iterateFor(0.2);
    EXPECT_EQ(keymap_->group(), 1u);
    EXPECT_TRUE(context.selectKeyboardLayout(KeyboardLayout::english));
    EXPECT_TRUE(iterateUntil([&] { return keymap_->group() == 0; }));
    XChangeProperty(user, root, rulesNames, XA_STRING, 8, PropModeReplace, original.get(), static_cast<int>(count));
    XSync(user, False);
    EXPECT_EQ(context.selectedKeyboardInputSource(), "us");
}

}  // namespace
}  // namespace tarvelo::desktop::testing
