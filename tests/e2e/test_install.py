# SPDX-License-Identifier: GPL-3.0-or-later
"""The program as `cmake --install` lays it out: the folder of its own with the readme, the link
in bin/, the catalogue of service lists, the desktop entry's launcher that starts it in
~/GlenLantern with the sample lists, and View Readme showing the installed readme."""

import configparser
import glob
import os
import shutil
import subprocess
import tempfile
import time
import unittest

import e2e

BUILD_DIR = os.environ.get("GL_BUILD_DIR", "")
CMAKE = os.environ.get("GL_CMAKE", "cmake")
SOURCE_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SAMPLES = ("Default.gls", "Default.glt")


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class InstallTest(e2e.ProgramTestCase):
    @classmethod
    def setUpClass(cls):
        if not BUILD_DIR or not os.path.isdir(BUILD_DIR):
            raise AssertionError(f"GL_BUILD_DIR does not name the build folder: {BUILD_DIR!r}")
        cls.prefix = tempfile.mkdtemp(prefix="gl-prefix-")
        result = subprocess.run([CMAKE, "--install", BUILD_DIR, "--prefix", cls.prefix],
                                capture_output=True, text=True, timeout=300)
        if result.returncode != 0:
            shutil.rmtree(cls.prefix, ignore_errors=True)
            raise AssertionError(f"cmake --install failed:\n{result.stdout}\n{result.stderr}")
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(os.path.join(cls.prefix, "share", "applications", "glenlantern.desktop"))
        cls.launcher = entry["Desktop Entry"]["Exec"]
        cls.program_dir = os.path.dirname(cls.launcher)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.prefix, ignore_errors=True)

    def elsewhere(self):
        """A folder that is neither the program's nor the user's, to start from."""
        path = os.path.join(self.folder, "elsewhere")
        os.makedirs(path, exist_ok=True)
        return path

    def started_in(self):
        return os.readlink(f"/proc/{self.process.pid}/cwd")

    def test_layout(self):
        # The desktop entry runs the launcher in the installed program folder, under the prefix.
        self.assertTrue(self.launcher.startswith(self.prefix + os.sep), self.launcher)
        self.assertTrue(os.access(self.launcher, os.X_OK), self.launcher)
        program = os.path.join(self.program_dir, "glenlantern")
        self.assertEqual(read_bytes(os.path.join(self.program_dir, "ReadMe.html")),
                         read_bytes(os.path.join(SOURCE_DIR, "resources", "ReadMe.html")))
        # bin/ holds a relative link, so the program still sees its own folder and the prefix
        # can move.
        link = os.path.join(self.prefix, "bin", "glenlantern")
        self.assertTrue(os.path.islink(link))
        self.assertFalse(os.path.isabs(os.readlink(link)))
        self.assertEqual(os.path.realpath(link), os.path.realpath(program))
        for name in SAMPLES:
            self.assertEqual(
                read_bytes(os.path.join(self.prefix, "share", "glenlantern", "samples", name)),
                read_bytes(os.path.join(SOURCE_DIR, "samples", name)), name)
        # The catalogue of service lists, every file of it, and nothing else in its folder.
        catalogue = os.path.join(self.prefix, "share", "glenlantern", "catalogue")
        shipped = os.path.join(SOURCE_DIR, "samples", "catalogue")
        self.assertEqual(sorted(os.listdir(catalogue)), sorted(os.listdir(shipped)))
        self.assertIn("catalogue.ini", os.listdir(catalogue))
        self.assertGreaterEqual(len(glob.glob(os.path.join(catalogue, "*.gls"))), 8)
        for name in os.listdir(shipped):
            self.assertEqual(read_bytes(os.path.join(catalogue, name)),
                             read_bytes(os.path.join(shipped, name)), name)
        icons = os.path.join(self.prefix, "share", "icons", "hicolor")
        self.assertTrue(os.path.isfile(os.path.join(icons, "scalable", "apps", "glenlantern.svg")))
        self.assertGreaterEqual(len(glob.glob(os.path.join(icons, "*x*", "apps", "glenlantern.png"))), 3)
        self.assertTrue(glob.glob(os.path.join(self.prefix, "share", "man", "man1", "glenlantern.1*")))
        self.assertEqual(len(glob.glob(os.path.join(self.prefix, "share", "metainfo", "*.metainfo.xml"))), 1)
        copyright_file = os.path.join(self.prefix, "share", "doc", "glenlantern", "copyright")
        self.assertIn(b"License: GPL-3.0-or-later", read_bytes(copyright_file))

    def test_first_start_makes_the_user_folder_with_the_samples(self):
        user_folder = os.path.join(self.home, "GlenLantern")
        self.start(program=self.launcher, cwd=self.elsewhere())
        self.assertEqual(self.started_in(), user_folder)
        self.assertEqual(os.path.realpath(f"/proc/{self.process.pid}/exe"),
                         os.path.realpath(os.path.join(self.program_dir, "glenlantern")))
        for name in SAMPLES:
            self.assertEqual(read_bytes(os.path.join(user_folder, name)),
                             read_bytes(os.path.join(SOURCE_DIR, "samples", name)), name)
        self.process.kill()
        self.process.wait(timeout=30)

        # The user's own lists stay as they are on the next start, and they are what it loads.
        server = e2e.RecordingServer()
        self.addCleanup(server.close)
        own = {"Default.gls": f"Local=http://127.0.0.1:{server.port}/find/|s|\r\n".encode(),
               "Default.glt": b"mine\r\n"}
        for name, data in own.items():
            with open(os.path.join(user_folder, name), "wb") as f:
                f.write(data)
        window = self.start(program=self.launcher, cwd=self.elsewhere())
        for name, data in own.items():
            self.assertEqual(read_bytes(os.path.join(user_folder, name)), data, name)
        e2e.keys(window, "Tab", "Down")
        e2e.wait_for(lambda: "/find/mine" in server.requests(), timeout=60,
                     what=lambda: f"/find/mine in {server.requests()}")

    def test_a_user_folder_that_exists_gets_no_samples(self):
        user_folder = os.path.join(self.home, "GlenLantern")
        os.makedirs(user_folder)
        self.start(program=self.launcher, cwd=self.elsewhere())
        self.assertEqual(self.started_in(), user_folder)
        self.assertEqual(os.listdir(user_folder), [])

    def pane_colour(self, window):
        """The colour in the middle of the browser pane, the right part of the main window."""
        x, y, width, height = e2e.geometry(window)
        shot = os.path.join(self.folder, "screen.png")
        e2e.screenshot(shot)
        result = subprocess.run(
            ["convert", shot, "-format", f"%[hex:p{{{x + width * 3 // 4},{y + height // 2}}}]",
             "info:"], capture_output=True, text=True, timeout=30)
        return result.stdout.strip().upper()

    def test_view_readme_shows_the_installed_readme(self):
        # A page in the installed folder may not fetch anything from the network, so the readme
        # put there is told apart by its colour.
        readme = os.path.join(self.program_dir, "ReadMe.html")
        original = read_bytes(readme)

        def restore():
            with open(readme, "wb") as f:
                f.write(original)
        self.addCleanup(restore)
        with open(readme, "wb") as f:
            f.write(b'<html style="background: #ff00ff"><body>Installed readme</body></html>')
        # Started through the link in bin/, from a folder of the user's.
        self.write("Default.gls", b"Local=http://127.0.0.1:9/|s|\r\n")
        self.write("Default.glt", b"term\r\n")
        main = self.start(program=os.path.join(self.prefix, "bin", "glenlantern"), cwd=self.folder)
        self.assertNotEqual(self.pane_colour(main), "FF00FF")
        e2e.keys(main, "alt+h")
        time.sleep(0.5)
        e2e.xdotool("key", "v")
        seen = []
        e2e.wait_for(lambda: seen.append(self.pane_colour(main)) or seen[-1] == "FF00FF",
                     timeout=60, interval=0.5,
                     what=lambda: f"the installed readme in the pane, colours seen: {seen[-3:]}")

if __name__ == "__main__":
    unittest.main()
