# SPDX-License-Identifier: GPL-3.0-or-later
"""The program driven by keyboard alone: menus by their access letters, shortcuts, and the
Quick Launcher handing an address to the desktop's default browser."""

import os
import stat
import time
import unittest
import urllib.parse

import e2e

METASEARCH_HOST = os.environ.get("GL_METASEARCH_HOST", "search.glenlantern.example")


class KeyboardTest(e2e.ProgramTestCase):
    def test_menu_access_letters_then_save(self):
        self.write("Default.gls", b"Local=http://127.0.0.1:9/|s|\r\n")
        self.write("Default.glt", b"Cat\r\ndog\r\ncat\r\nDog\r\nbird\r\n")
        main = self.start()
        # Alt+T opens Terms, "m" is Re&move Duplicates; Ctrl+S saves to Default.glt.
        e2e.keys(main, "alt+t")
        time.sleep(0.5)
        e2e.xdotool("key", "m")
        time.sleep(0.5)
        e2e.keys(main, "ctrl+s")
        e2e.wait_for(lambda: self.read("Default.glt") == b"Cat\r\ndog\r\nbird\r\n",
                     what=lambda: f"the saved list, now {self.read('Default.glt')!r}")

    def test_quick_launcher_opens_the_default_browser(self):
        env = self.environment()
        record = os.path.join(self.folder, "browser-args")
        script = os.path.join(self.folder, "fake-browser")
        with open(script, "w") as f:
            f.write(f'#!/bin/sh\nfor a in "$@"; do printf "%s\\n" "$a"; done > "{record}"\n')
        os.chmod(script, os.stat(script).st_mode | stat.S_IEXEC)
        applications = os.path.join(env["XDG_DATA_HOME"], "applications")
        os.makedirs(applications)
        with open(os.path.join(applications, "fake-browser.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Fake Browser\n"
                    f"Exec={script} %u\nMimeType=x-scheme-handler/http;\n")
        os.makedirs(env["XDG_CONFIG_HOME"])
        with open(os.path.join(env["XDG_CONFIG_HOME"], "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\nx-scheme-handler/http=fake-browser.desktop\n")

        main = self.start(env=env)
        e2e.keys(main, "ctrl+q")
        e2e.find_window("Quick Launch")
        term = 'C++ & more #1 "; rm -rf ~ $(reboot)'
        e2e.type_text("Quick Launch", term)
        e2e.keys("Quick Launch", "Return")
        e2e.wait_for(lambda: os.path.exists(record), what="the browser to start")
        time.sleep(0.3)
        with open(record) as f:
            arguments = f.read().splitlines()
        self.assertEqual(arguments, [
            f"http://{METASEARCH_HOST}/services/orbitSeek/index.php"
            f"?search={urllib.parse.quote_plus(term, safe='')}&searchtype=1"])
        # The window stays open after a search.
        self.assertTrue(e2e.window_visible("Quick Launch"))


if __name__ == "__main__":
    unittest.main()
