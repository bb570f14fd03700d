# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop's search: GNOME Shell's search provider and KRunner, called with gdbus on a session
bus of the test's own through the names and paths the installed files give; D-Bus activation
starting the program; the desktop entry's actions."""

import configparser
import os
import shlex
import shutil
import signal
import subprocess
import time
import unittest

import e2e

GNOME = "org.gnome.Shell.SearchProvider2"
KRUNNER = "org.kde.krunner1"


def read_entry(path, section):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str  # keys keep their case
    if not parser.read(path):
        raise AssertionError(f"cannot read {path}")
    return parser[section]


class DesktopSearchTest(e2e.ProgramTestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = e2e.install_to_temporary_prefix()
        share = os.path.join(cls.prefix, "share")
        providers = os.listdir(os.path.join(share, "gnome-shell", "search-providers"))
        runners = os.listdir(os.path.join(share, "krunner", "dbusplugins"))
        cls.gnome = read_entry(os.path.join(share, "gnome-shell", "search-providers", providers[0]),
                               "Shell Search Provider")
        cls.krunner = read_entry(os.path.join(share, "krunner", "dbusplugins", runners[0]),
                                 "Desktop Entry")
        cls.services_dir = os.path.join(share, "dbus-1", "services")
        cls.desktop_file = os.path.join(share, "applications", "glenlantern.desktop")
        cls.launcher = read_entry(cls.desktop_file, "Desktop Entry")["Exec"]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.prefix, ignore_errors=True)

    def setUp(self):
        super().setUp()
        self.server = e2e.RecordingServer()
        self.addCleanup(self.server.close)
        self.base = f"http://127.0.0.1:{self.server.port}"
        # The launcher starts the program in the user's folder, where these lists are.
        self.user_folder = os.path.join(self.home, "GlenLantern")
        os.makedirs(self.user_folder)
        lists = {"Default.gls": f"Find={self.base}/find/|s|\r\nOther={self.base}/other?q=|s|\r\n",
                 "Default.glt": "apple\r\napricot\r\nbanana\r\n"}
        for name, text in lists.items():
            with open(os.path.join(self.user_folder, name), "wb") as f:
                f.write(text.encode())

    def call(self, provider, method, *args):
        if provider is GNOME:
            where = (self.gnome["BusName"], self.gnome["ObjectPath"])
        else:
            where = (self.krunner["X-Plasma-DBusRunner-Service"],
                     self.krunner["X-Plasma-DBusRunner-Path"])
        return e2e.gdbus_call(self.environment(), *where, f"{provider}.{method}", *args)

    def wait_for_request(self, path):
        e2e.wait_for(lambda: path in self.server.requests(), timeout=60,
                     what=lambda: f"{path} in {self.server.requests()}")

    def start_program(self):
        self.start_bus()
        self.start(program=self.launcher, cwd=self.folder)

    def test_gnome_shell_provider(self):
        self.assertEqual(self.gnome["DesktopId"], "glenlantern.desktop")
        self.assertEqual(self.gnome["Version"], "2")
        self.start_program()
        ids = self.call(GNOME, "GetInitialResultSet", "['ap']")[0]
        self.assertEqual(ids, ["service:Find=ap", "service:Other=ap", "term:apple", "term:apricot"])
        narrower = self.call(GNOME, "GetSubsearchResultSet", str(ids), "['apr']")[0]
        self.assertEqual(narrower, ["service:Find=apr", "service:Other=apr", "term:apricot"])
        metas = self.call(GNOME, "GetResultMetas", "['service:Other=ap', 'term:apple']")[0]
        self.assertEqual([(m["id"], m["name"], m["description"]) for m in metas],
                         [("service:Other=ap", "Search Other for ap", f"{self.base}/other?q=ap"),
                          ("term:apple", "apple", "Search Find for apple")])
        self.call(GNOME, "ActivateResult", "'service:Other=ap'", "['ap']", "uint32 0")
        self.wait_for_request("/other?q=ap")
        # The search in the program goes on with the service the result selected, with the
        # words the shell split the text into.
        self.call(GNOME, "LaunchSearch", "['blue', 'sky']", "uint32 0")
        printed = self.run_program("--print-url", "-s", "Other", "blue sky", cwd=self.user_folder)
        self.wait_for_request(e2e.request_path(printed.stdout.strip()))

    def test_krunner(self):
        self.start_program()
        matches = self.call(KRUNNER, "Match", "'apple'")[0]
        self.assertEqual([(m[0], m[1], m[2], m[3], m[5]["subtext"]) for m in matches],
                         [("service:Find=apple", "Search Find for apple", "glenlantern", 30,
                           f"{self.base}/find/apple"),
                          ("service:Other=apple", "Search Other for apple", "glenlantern", 30,
                           f"{self.base}/other?q=apple"),
                          ("term:apple", "apple", "glenlantern", 100, "Search Find for apple")])
        self.assertGreater(matches[0][4], matches[1][4])  # list order
        self.assertEqual(self.call(KRUNNER, "Actions"), ([],))
        self.call(KRUNNER, "Run", "'service:Other=apple'", "''")
        self.wait_for_request("/other?q=apple")
        self.call(KRUNNER, "Teardown")
        self.assertEqual(self.call(KRUNNER, "Match", "'zebra'")[0][0][0], "service:Find=zebra")

    def bus_owner_pid(self):
        reply = e2e.gdbus_call(self.environment(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus.GetConnectionUnixProcessID",
                               f"'{self.gnome['BusName']}'")
        return reply[0]

    def end_process(self, pid):
        """Ends a program the bus started (not a child of the test) and waits until it is gone."""
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            return
        def gone():
            try:
                with open(f"/proc/{pid}/stat") as f:
                    return f.read().split()[2] == "Z"
            except FileNotFoundError:
                return True
        e2e.wait_for(gone, what=f"process {pid} gone")

    def test_the_bus_starts_the_program_for_the_search(self):
        self.start_bus(services_dir=self.services_dir)
        # Nothing runs: the bus starts the program through the installed activation file.
        ids = self.call(GNOME, "GetInitialResultSet", "['ban']")[0]
        self.assertEqual(ids, ["service:Find=ban", "service:Other=ban", "term:banana"])
        pid = self.bus_owner_pid()
        self.addCleanup(self.end_process, pid)
        self.assertEqual(os.readlink(f"/proc/{pid}/cwd"), self.user_folder)
        # Started for the search alone: no window until a result is picked.
        time.sleep(1)
        self.assertFalse(e2e.window_visible(e2e.MAIN_TITLE))
        self.call(GNOME, "ActivateResult", "'term:banana'", "['ban']", "uint32 0")
        e2e.find_window(e2e.MAIN_TITLE)
        self.wait_for_request("/find/banana")
        # A start from the menu now reaches that program.
        result = subprocess.run([self.launcher, "cherry"], env=self.environment(),
                                capture_output=True, text=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.wait_for_request("/find/cherry")

    def action(self, name):
        return shlex.split(read_entry(self.desktop_file, f"Desktop Action {name}")["Exec"])

    def test_desktop_entry_actions(self):
        self.start_program()
        result = subprocess.run(self.action("QuickLaunch"), env=self.environment(),
                                capture_output=True, text=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        e2e.find_window("Quick Launch")
        self.assertEqual(self.call(GNOME, "GetInitialResultSet", "['ap']")[0][2:],
                         ["term:apple", "term:apricot"])
        result = subprocess.run(self.action("NewTermList"), env=self.environment(),
                                capture_output=True, text=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        # The term list is new and empty: the desktop's search offers no terms any more.
        e2e.wait_for(lambda: self.call(GNOME, "GetInitialResultSet", "['ap']")[0] ==
                     ["service:Find=ap", "service:Other=ap"], what="an empty term list")
        self.assertIsNone(self.process.poll())


if __name__ == "__main__":
    unittest.main()
