#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Shows what Tarvelo does, on the desktop this runs in (scripts/demo runs it in a headless one).

It starts a tray host, Tarvelo with a fresh configuration and a GTK text field, then acts as a person
would: it steps through onboarding, types a sentence with wrong-layout words, opens the tray menu, every
settings page and the About window. It presses buttons through the accessibility bus, types and clicks
through XTest (xdotool), and saves a screenshot of each step.

    demo_driver.py TARVELO FIELD_PROGRAM OUTPUT_FOLDER
"""

import os
import subprocess
import sys
import tempfile
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Atspi, Gdk, Gtk  # noqa: E402

# The bindings' convenience accessors are deprecated in favour of the interfaces', which older
# versions lack; both work.
warnings.filterwarnings("ignore", category=DeprecationWarning)

# Typed at about eight keys a second, as the us layout would type it while the user meant Russian, and
# one Russian-layout slip in English.
SENTENCE = "Ghbdtn rfr ltkf z gbie ntrcn b ghjcnj руддщ world "
SECTIONS = ["General", "Auto Switch", "Hotkeys", "Languages", "Exceptions", "Applications", "Privacy", "Statistics"]


class DemoError(Exception):
    pass


def wait_for(what, probe, timeout=15.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    raise DemoError(f"timed out waiting for {what}")


def descendants(node, depth=0, limit=14):
    """Every accessible below `node`, breadth first, skipping what cannot be read."""
    if node is None or depth > limit:
        return
    try:
        count = node.get_child_count()
    except Exception:
        return
    for index in range(count):
        try:
            child = node.get_child_at_index(index)
        except Exception:
            continue
        if child is None:
            continue
        yield child
        yield from descendants(child, depth + 1, limit)


def application(name):
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(index)
        if app is not None and app.get_name().lower() == name.lower():
            return app
    return None


def named(root, name, roles=None):
    for node in descendants(root):
        try:
            if node.get_name() == name and (roles is None or node.get_role() in roles):
                return node
        except Exception:
            continue
    return None


def tarvelo():
    return wait_for("Tarvelo on the accessibility bus", lambda: application("Tarvelo"))


def top_level(app, title):
    for index in range(app.get_child_count()):
        child = app.get_child_at_index(index)
        if child is not None and child.get_name() == title:
            return child
    return None


def window(title):
    return wait_for(f"the window “{title}”", lambda: top_level(tarvelo(), title))


def press(root, name, roles=None):
    node = wait_for(f"“{name}”", lambda: named(root, name, roles))
    action = node.get_action_iface()
    if action is None:
        raise DemoError(f"“{name}” cannot be pressed")
    action.do_action(0)
    time.sleep(0.6)


def screenshot(path, node=None, extents=None):
    Gtk.init_check(sys.argv)
    root = Gdk.get_default_root_window()
    if extents is None and node is not None:
        rect = node.get_component_iface().get_extents(Atspi.CoordType.SCREEN)
        extents = (rect.x, rect.y, rect.width, rect.height)
    if extents is None:
        extents = (0, 0, root.get_width(), root.get_height())
    x, y, width, height = extents
    x, y = max(0, x), max(0, y)
    width, height = min(width, root.get_width() - x), min(height, root.get_height() - y)
    picture = Gdk.pixbuf_get_from_window(root, x, y, width, height)
    if picture is None:
        raise DemoError(f"could not capture {path}")
    picture.savev(path, "png", [], [])
    print(f"  saved {path}")


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True, text=True).stdout


def tray_icon_centre():
    """Where trayer shows Tarvelo's icon: the middle of its one embedded window."""
    windows = xdotool("search", "--sync", "--onlyvisible", "--class", "trayer").split()
    for window_id in windows:
        geometry = xdotool("getwindowgeometry", "--shell", window_id)
        values = dict(line.split("=", 1) for line in geometry.split())
        width, height = int(values["WIDTH"]), int(values["HEIGHT"])
        if width >= 16 and height >= 16:
            return int(values["X"]) + width // 2, int(values["Y"]) + height // 2
    raise DemoError("trayer shows no icon")


def open_tray_menu():
    """Right-clicks the tray icon; answers the open menu's rectangle."""
    x, y = tray_icon_centre()
    xdotool("mousemove", str(x), str(y), "click", "3")

    def menu_window():
        for window_id in xdotool("search", "--onlyvisible", "--class", "tarvelo").split():
            geometry = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window_id).split())
            left, top = int(geometry["X"]), int(geometry["Y"])
            width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
            # The menu opens beside the icon, at the bottom of the screen.
            if width > 100 and top + height >= y - 40 and left + width >= x - 40 and height < 400:
                return left, top, width, height
        return None

    extents = wait_for("the tray menu", menu_window)
    time.sleep(0.4)
    return extents


def choose_from_tray_menu(steps_up):
    """Picks a menu item by counting from the bottom (Quit is one up), as the keyboard does."""
    xdotool("key", *(["Up"] * steps_up), "Return")
    time.sleep(0.6)


def add_exception(settings, word):
    """Types a wrong-layout word into Tarvelo's own "Add a word" field, which it must leave alone."""
    entry = wait_for("the “Add a word” field",
                     lambda: next((node for node in descendants(settings) if node.get_role() in
                                   (Atspi.Role.ENTRY, Atspi.Role.TEXT)), None))
    entry.get_component_iface().grab_focus()
    time.sleep(0.3)
    xdotool("type", "--delay", "160", word + " ")
    time.sleep(0.5)
    text = entry.get_text_iface()
    typed = text.get_text(0, text.get_character_count())
    print(f"  typed “{word} ” into Tarvelo's own exception field, which holds “{typed}”")
    press(settings, "Add", {Atspi.Role.PUSH_BUTTON})


class Field:
    """The GTK text field the sentence is typed into (the desktop tests' field program)."""

    def __init__(self, program):
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise DemoError("the text field did not start")

    def text(self):
        self.process.stdin.write("dump\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline().rstrip("\n")
        marked = line.removeprefix("text ")
        return marked.replace("|", "")

    def frame(self):
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is not None and "text_field" in app.get_name() and app.get_child_count() > 0:
                return app.get_child_at_index(0)
        return None

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    program, field_program, folder = sys.argv[1:]
    os.makedirs(folder, exist_ok=True)
    stale = os.path.join(folder, "failure-screen.png")
    if os.path.exists(stale):
        os.remove(stale)
    shot = lambda name: os.path.join(folder, name + ".png")  # noqa: E731

    # A fresh user: no settings yet, so onboarding opens.
    home = tempfile.mkdtemp(prefix="tarvelo-demo-home.")
    environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))

    tray = subprocess.Popen(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                             "--height", "28", "--SetDockType", "true", "--tint", "0x202028", "--transparent", "true",
                             "--alpha", "0"])
    time.sleep(1.0)
    app = subprocess.Popen([program], env=environment)
    try:
        print("Onboarding:")
        welcome = window("Welcome to Tarvelo")
        time.sleep(0.8)
        for step in (1, 2, 3):
            screenshot(shot(f"onboarding-{step}"), welcome)
            press(welcome, "Continue" if step < 3 else "Start Tarvelo", {Atspi.Role.PUSH_BUTTON})

        print("Typing into a text field, as if the English layout were on:")
        field = Field(field_program)
        time.sleep(2.0)  # a person looks at a new window before typing into it
        xdotool("type", "--delay", "250", SENTENCE)
        time.sleep(1.0)
        corrected = field.text()
        print(f"  typed:  {SENTENCE}")
        print(f"  field:  {corrected}")
        screenshot(shot("corrected-field"), field.frame())

        print("The tray menu:")
        screenshot(shot("tray-menu"), extents=open_tray_menu())
        choose_from_tray_menu(3)  # Settings…

        print("Settings:")
        settings = window("Tarvelo Settings")
        time.sleep(0.8)
        for index, section in enumerate(SECTIONS, start=1):
            press(settings, section, {Atspi.Role.LIST_ITEM})
            if section == "Exceptions":
                add_exception(settings, "ghbdtn")
            screenshot(shot(f"settings-{index}-{section.lower().replace(' ', '-')}"), settings)

        print("About:")
        open_tray_menu()
        choose_from_tray_menu(2)  # About Tarvelo
        about = window("About Tarvelo")
        time.sleep(0.8)
        screenshot(shot("about"), about)

        field.close()
        open_tray_menu()
        choose_from_tray_menu(1)  # Quit Tarvelo
        app.wait(timeout=10)
        return 0
    except DemoError as error:
        print(f"demo: {error}", file=sys.stderr)
        screenshot(shot("failure-screen"))
        return 1
    finally:
        if app.poll() is None:
            app.terminate()
            app.wait(timeout=10)
        tray.terminate()


if __name__ == "__main__":
    sys.exit(main())
