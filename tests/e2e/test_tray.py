# SPDX-License-Identifier: GPL-3.0-or-later
"""Tray mode with a real notification area (trayer)."""

import re
import subprocess
import time
import unittest

import e2e

ICON_TITLE = "GlenLantern"


def tray_icon():
    """The screen position of the icon in the notification area, or None. The icon is a small
    window of the program's embedded in the tray's panel, where xdotool's search does not look."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for line in tree.splitlines():
        match = re.search(rf'"{ICON_TITLE}": \(.*\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
        if match and int(match[1]) < 64 and int(match[1]) > 1:
            width, height, x, y = map(int, match.groups())
            return x + width // 2, y + height // 2
    return None


def click_icon(button, repeat=1):
    x, y = e2e.wait_for(tray_icon, what="the tray icon")
    e2e.xdotool("mousemove", str(x), str(y))
    time.sleep(0.2)
    e2e.xdotool("click", "--repeat", str(repeat), "--delay", "80", str(button))


class TrayTest(e2e.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.trayer = subprocess.Popen(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
             "--height", "24", "--SetDockType", "true"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.trayer.kill)
        time.sleep(1.0)
        self.write("Default.gls", b"Local=http://127.0.0.1:9/|s|\r\n")
        self.write("Default.glt", b"one\r\n")

    def test_into_the_tray_and_back(self):
        main = self.start()
        self.assertIsNone(tray_icon())
        e2e.keys(main, "ctrl+t")
        e2e.wait_for(lambda: not e2e.window_visible(e2e.MAIN_TITLE), what="the main window to hide")
        e2e.wait_for(tray_icon, what="the tray icon")

        # A middle click opens the Quick Launcher; the main window stays hidden.
        click_icon(2)
        e2e.find_window("Quick Launch")
        self.assertFalse(e2e.window_visible(e2e.MAIN_TITLE))

        # A double click brings the main window back and the icon goes.
        click_icon(1, repeat=2)
        e2e.find_window(e2e.MAIN_TITLE)
        e2e.wait_for(lambda: tray_icon() is None, what="the icon to go")

    def test_exit_from_the_tray_menu_asks_about_unsaved_terms(self):
        main = self.start()
        # Add a term (Ctrl+A, type, Enter, then Escape ends the loop) so the list is unsaved.
        e2e.keys(main, "ctrl+a")
        e2e.find_window("Add New Term")
        e2e.type_text("Add New Term", "two")
        e2e.keys("Add New Term", "Return")
        time.sleep(0.5)
        e2e.keys("Add New Term", "Escape")
        e2e.keys(main, "ctrl+t")
        e2e.wait_for(tray_icon, what="the tray icon")

        # Right click opens the tray menu: Quick Launcher, Send to Tray, -, Exit.
        click_icon(3)
        time.sleep(0.8)
        e2e.xdotool("key", "Up")  # the last item, Exit
        e2e.xdotool("key", "Return")
        e2e.find_window("Confirm")
        e2e.keys("Confirm", "alt+y")  # Yes: save the term list, then end
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.read("Default.glt"), b"one\r\ntwo\r\n")


if __name__ == "__main__":
    unittest.main()
