#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Screenshots of Tarvelo's status icon in a light and in a dark panel (scripts/tray-icons runs it in a
headless desktop).

For each panel it starts trayer, the XEmbed tray host, tinted with the panel's colour, then Tarvelo with
a fresh configuration, waits until the icon is embedded and saves the panel as
tray_icon_<panel>_panel.png. It fails when too little of the icon stands 3:1 apart from the panel to
make out its shape (WCAG's contrast for graphics).

    tray_icon_driver.py TARVELO OUTPUT_FOLDER
"""

import os
import subprocess
import sys
import tempfile
import time

from demo_driver import DemoError, screenshot, wait_for, xdotool
from gi.repository import GdkPixbuf

# A light panel as GNOME Flashback, Xfce and MATE draw one by default, and the demo's dark one.
PANELS = [("light", "0xf6f5f4"), ("dark", "0x202028")]
PANEL_WIDTH = 96
PANEL_HEIGHT = 32


def geometry(window_id):
    values = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window_id).split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def embedded_icon(panel_pid):
    """The panel's rectangle once an icon is embedded in it, else None."""
    try:
        panels = xdotool("search", "--onlyvisible", "--pid", str(panel_pid)).split()
        icons = xdotool("search", "--onlyvisible", "--class", "tarvelo").split()
    except subprocess.CalledProcessError:
        return None
    for panel in panels:
        left, top, width, height = geometry(panel)
        if width != PANEL_WIDTH:
            continue
        for icon in icons:
            x, y, icon_width, icon_height = geometry(icon)
            if left <= x < left + width and top <= y < top + height and icon_width >= 16 and icon_height >= 16:
                return left, top, width, height
    return None


def luminance(red, green, blue):
    def channel(value):
        value /= 255
        return value / 12.92 if value <= 0.03928 else ((value + 0.055) / 1.055) ** 2.4
    return 0.2126 * channel(red) + 0.7152 * channel(green) + 0.0722 * channel(blue)


def distinct_pixels(path, tint):
    """How many pixels of the picture stand 3:1 apart from the panel's colour."""
    panel = luminance(*(int(tint[index:index + 2], 16) for index in (2, 4, 6)))
    picture = GdkPixbuf.Pixbuf.new_from_file(path)
    data = picture.get_pixels()
    stride, step = picture.get_rowstride(), picture.get_n_channels()
    count = 0
    for y in range(picture.get_height()):
        for x in range(picture.get_width()):
            offset = y * stride + x * step
            light = luminance(data[offset], data[offset + 1], data[offset + 2])
            if (max(light, panel) + 0.05) / (min(light, panel) + 0.05) >= 3.0:
                count += 1
    return count


def shoot(program, folder, name, tint):
    home = tempfile.mkdtemp(prefix="tarvelo-tray-home.")
    environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
    tray = subprocess.Popen(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                             "--width", str(PANEL_WIDTH), "--height", str(PANEL_HEIGHT), "--SetDockType", "true",
                             "--tint", tint, "--transparent", "true", "--alpha", "0"])
    app = None
    try:
        time.sleep(0.5)
        app = subprocess.Popen([program], env=environment)
        extents = wait_for(f"the icon in the {name} panel", lambda: embedded_icon(tray.pid))
        # Tarvelo looks at the panel beside its icon when it next publishes its status, once a second.
        time.sleep(1.5)
        path = os.path.join(folder, f"tray_icon_{name}_panel.png")
        screenshot(path, extents=extents)
        distinct = distinct_pixels(path, tint)
        print(f"  {distinct} pixels of the icon stand 3:1 apart from the {name} panel")
        if distinct < 20:
            raise DemoError(f"the icon is hard to make out on the {name} panel")
    finally:
        if app is not None and app.poll() is None:
            app.terminate()
            app.wait(timeout=10)
        tray.terminate()
        tray.wait(timeout=10)


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    program, folder = sys.argv[1:]
    os.makedirs(folder, exist_ok=True)
    try:
        for name, tint in PANELS:
            shoot(program, folder, name, tint)
    except DemoError as error:
        print(f"tray icons: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
